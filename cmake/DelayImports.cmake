# Import libraries that load their DLL at the first call into it rather than before the program starts
# (binutils' delay-import libraries; MinGW's runtime brings the helper that loads and binds on that call).
# They are made at configure time from the compiler's own import libraries: every function the DLL exports.
# When the DLL or a function is missing at that call, framework/DelayLoadFailure.cpp decides what the call does.
#
#   wl_delay_import(<name>)   sets WL_DELAY_IMPORT_<name> to the delay-import library of <name>.dll, for
#                             target_link_libraries in place of <name>
function(wl_delay_import name)
  find_library(WL_IMPORT_LIB_${name} NAMES ${name} REQUIRED NO_CACHE)
  set(dir ${CMAKE_BINARY_DIR}/delay-imports)
  # dlltool names the library's own symbols after the output's path: a short relative one, in its folder.
  set(def ${name}.def)
  set(lib lib${name}-delay.a)
  file(MAKE_DIRECTORY ${dir})
  execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${WL_IMPORT_LIB_${name}}
                  OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot read ${WL_IMPORT_LIB_${name}}")
  endif()
  # The functions are the code stubs (T) of the import library; its own head and tail symbols are not exports.
  string(REGEX MATCHALL "[0-9a-f]+ T [A-Za-z0-9_@?$]+" stubs "${symbols}")
  set(exports "")
  foreach(stub IN LISTS stubs)
    string(REGEX REPLACE "^[0-9a-f]+ T " "" function "${stub}")
    if(NOT function MATCHES "^_head_|_iname$")
      string(APPEND exports "  ${function}\n")
    endif()
  endforeach()
  file(WRITE ${dir}/${def} "LIBRARY ${name}.dll\nEXPORTS\n${exports}")
  execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --dllname ${name}.dll --output-delaylib ${lib}
                  WORKING_DIRECTORY ${dir} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot make the delay-import library of ${name}.dll")
  endif()
  set(WL_DELAY_IMPORT_${name} ${dir}/${lib} PARENT_SCOPE)
endfunction()

// The program's command line: "Wertlauf.exe [-z] [folder]".
#pragma once

enum class StartArgument {
    FullScreen,     // "-z" or "/z" (any case, anything may follow)
    IgnoredSwitch,  // any other argument that begins with '-' or '/'
    QuestionFolder, // anything else
};

StartArgument ClassifyStartArgument(const char* argument);

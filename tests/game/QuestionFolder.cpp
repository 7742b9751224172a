#include "tests/game/QuestionFolder.h"

#include <cstdio>
#include <shellapi.h>

namespace gametest {

QuestionFolder::QuestionFolder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%swl-questions-%lu-%lu", temp, GetCurrentProcessId(), GetTickCount());
    m_path = name;
    CreateDirectoryA(m_path.c_str(), nullptr);
}

QuestionFolder::~QuestionFolder() {
    std::string from = m_path;
    from.push_back('\0');  // double NUL for the shell operation
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}

std::string QuestionFolder::WritePage(const std::string& sub, const std::string& content) {
    const std::string dir = m_path + "\\" + sub;
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string file = dir + "\\Info.html";
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
    return file;
}

std::string QuestionFolder::WriteQuestion(int number, const std::string& content) {
    char sub[32];
    std::snprintf(sub, sizeof sub, "Game%03i", number);
    return WritePage(sub, content);
}

}  // namespace gametest

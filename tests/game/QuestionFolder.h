// A temporary question folder for tests: pages are written on demand and the folder is removed afterwards.
#pragma once

#include <windows.h>

#include <string>

namespace gametest {

class QuestionFolder {
public:
    QuestionFolder();
    ~QuestionFolder();
    QuestionFolder(const QuestionFolder&) = delete;
    QuestionFolder& operator=(const QuestionFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // Writes <folder>\<sub>\Info.html.
    std::string WritePage(const std::string& sub, const std::string& content);
    std::string WriteQuestion(int number, const std::string& content);

private:
    std::string m_path;
};

}  // namespace gametest

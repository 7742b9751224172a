// Classifying the program's command-line arguments.
#include "game/WertlaufAppArguments.h"

StartArgument ClassifyStartArgument(const char* argument) {
    if (!argument || (argument[0] != '-' && argument[0] != '/')) return StartArgument::QuestionFolder;
    return (argument[1] == 'z' || argument[1] == 'Z') ? StartArgument::FullScreen : StartArgument::IgnoredSwitch;
}

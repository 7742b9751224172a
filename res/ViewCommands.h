// Command ids of the game view and their menu texts, shared by the view, its string table and the frame's menu.
// Plain #defines: the resource compiler reads this file too.
#pragma once

#define ID_GAME_NEXT_PAGE      32809  // "Starte Bild": load the next question page
#define ID_GAME_RED_KEY        32810
#define ID_GAME_BLUE_KEY       32811
#define ID_GAME_RESET          32813
#define ID_STARS_SMALL         32815
#define ID_STARS_MEDIUM        32816
#define ID_STARS_LARGE         32817
#define ID_SELECT_COM_PORT     32818
#define ID_STARS_RED_PLUS      33034
#define ID_STARS_BLUE_PLUS     33035
#define ID_STARS_RED_MINUS     33036
#define ID_STARS_BLUE_MINUS    33037
#define ID_GAME_SETTINGS       33048
#define ID_GAME_NEXT_NUMBER    33049
#define ID_FILE_FORMAT_HELP    33050
#define ID_STARS_TWO_ROWS      33051

// Menu texts of these commands (menu 128).
#define MENU_TEXT_GAME_NEXT_PAGE    "Starte\tF5"
#define MENU_TEXT_GAME_RESET        "Spiel rücksetzen\tF6"
#define MENU_TEXT_GAME_RED_KEY      "Starte/Stoppe rot\tF7"
#define MENU_TEXT_GAME_BLUE_KEY     "Starte/Stoppe blau\tF8"
#define MENU_TEXT_GAME_NEXT_NUMBER  "Nächste Spielnummer"
#define MENU_TEXT_STARS_RED_PLUS    "Erster Spieler +\tF1"
#define MENU_TEXT_STARS_BLUE_PLUS   "Zweiter Spieler +\tF2"
#define MENU_TEXT_STARS_RED_MINUS   "Erster Spieler -\tF3"
#define MENU_TEXT_STARS_BLUE_MINUS  "Zweiter Spieler -\tF4"
#define MENU_TEXT_STARS_SMALL       "Kleine Sterne"
#define MENU_TEXT_STARS_MEDIUM      "Mittlere Sterne"
#define MENU_TEXT_STARS_LARGE       "Große Sterne"
#define MENU_TEXT_STARS_TWO_ROWS    "Zwei Reihen"
#define MENU_TEXT_SELECT_COM_PORT   "COM-Port auswählen"
#define MENU_TEXT_GAME_SETTINGS     "Spieleinstellungen"
#define MENU_TEXT_FILE_FORMAT_HELP  "Dateiformat"

// Resources of the view (res/view.rc).
#define IDD_FILE_FORMAT        146
#define IDB_STAR_LARGE         149
#define IDB_STAR_MEDIUM        150
#define IDB_STAR_SMALL         151
#define IDB_SAMPLE_PAGE        152
#define IDC_FILE_FORMAT_PICTURE 1601
#define IDB_BROWSE_FOLDER      139
#define IDD_GAME_SETTINGS      150
#define IDC_SETTINGS_TIME_LIMIT     1009
#define IDC_SETTINGS_PATH           1016
#define IDC_SETTINGS_BROWSE         1035
#define IDC_SETTINGS_AUTO_COUNT     1064
#define IDC_SETTINGS_START_TOGETHER 1065
#define IDC_SETTINGS_SAME_SIDE      1067
#define IDC_SETTINGS_SCALE_COLOUR   1070
#define IDR_POINTER_PLAYER     "POINTERPLAYER"
#define IDR_POINTER_SOLUTION   "POINTERSOLUTION"
#define IDR_SCALE_FONT         "SCALEFONT"
#define IDR_LABEL_FONT         "LABELFONT"

// Resource ids of the test program.
#pragma once

#define IDR_TESTTYPE 128
#define IDD_TESTDIALOG 200
#define IDC_TESTEDIT 1001
#define ID_TEST_VIEW 40001
#define ID_TEST_DOC 40002
#define ID_TEST_FRAME 40003
#define ID_TEST_APP 40004
#define ID_TEST_NOHANDLER 40005
#define ID_TEST_SHARED 40006

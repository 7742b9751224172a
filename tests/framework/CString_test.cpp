#include "framework/CString.h"

#include <gtest/gtest.h>

TEST(CString, CopiesShareUntilWritten) {
    CString a("Spiel");
    CString b = a;
    EXPECT_EQ((LPCSTR)a, (LPCSTR)b);
    b.SetAt(0, 's');
    EXPECT_STREQ(a, "Spiel");
    EXPECT_STREQ(b, "spiel");
    CString c = b;
    c += "stand";
    EXPECT_STREQ(b, "spiel");
    EXPECT_STREQ(c, "spielstand");
}

TEST(CString, EmptyStringsAreNeverNull) {
    CString s;
    EXPECT_STREQ(s, "");
    EXPECT_TRUE(s.IsEmpty());
    s = (LPCSTR) nullptr;
    EXPECT_STREQ(s, "");
    EXPECT_EQ(s.GetAt(5), 0);
    s.SetAt(0, 'x');  // out of range: ignored
    EXPECT_STREQ(s, "");
    EXPECT_STREQ(s.Mid(3), "");
}

TEST(CString, BufferRoundTrip) {
    CString s;
    LPSTR p = s.GetBuffer(300);
    strcpy(p, "C:\\Fragen\\Main");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 14);
    p = s.GetBuffer(0);
    p[2] = 0;
    s.ReleaseBuffer(-1);
    EXPECT_STREQ(s, "C:");
    s.GetBufferSetLength(4)[3] = 'x';
    EXPECT_EQ(s.GetLength(), 4);
    EXPECT_EQ(s[3], 'x');
}

TEST(CString, SelfAssignmentAndSelfAppend) {
    CString s("abc");
    s = s;
    EXPECT_STREQ(s, "abc");
    s += s;
    EXPECT_STREQ(s, "abcabc");
    s = (LPCSTR)s + 3;  // a pointer into its own buffer
    EXPECT_STREQ(s, "abc");
    s += (LPCSTR)s + 1;
    EXPECT_STREQ(s, "abcbc");
}

TEST(CString, SlicingAndSearch) {
    CString s("C:\\Spiele\\Game001\\Info.html");
    EXPECT_STREQ(s.Left(2), "C:");
    EXPECT_STREQ(s.Right(9), "Info.html");
    EXPECT_STREQ(s.Mid(3, 6), "Spiele");
    EXPECT_STREQ(s.Mid(100, 2), "");
    EXPECT_STREQ(s.Left(-1), "");
    EXPECT_EQ(s.Find('\\'), 2);
    EXPECT_EQ(s.Find('\\', 3), 9);
    EXPECT_EQ(s.Find("Game"), 10);
    EXPECT_EQ(s.Find("Game", 11), -1);
    EXPECT_EQ(s.ReverseFind('\\'), 17);
    EXPECT_EQ(s.FindOneOf(".:"), 1);
}

TEST(CString, EditingOperations) {
    CString s("  Lösungswert \t");
    s.Trim();
    EXPECT_STREQ(s, "Lösungswert");
    s.MakeUpper();
    EXPECT_STREQ(s, "LÖSUNGSWERT");  // Windows-1252 letters too
    s.MakeLower();
    EXPECT_STREQ(s, "lösungswert");
    EXPECT_EQ(s.Replace("wert", "zahl"), 1);
    EXPECT_STREQ(s, "lösungszahl");
    EXPECT_EQ(s.Remove('s'), 2);
    EXPECT_STREQ(s, "löungzahl");
    s.Insert(0, "Die ");
    s.Delete(4, 2);
    EXPECT_STREQ(s, "Die ungzahl");
    CString t("xxabcxx");
    t.TrimLeft('x');
    t.TrimRight("cx");
    EXPECT_STREQ(t, "ab");
}

TEST(CString, FormatGrowsAsNeeded) {
    CString s;
    s.Format("%s\\Game%03i\\Info.html", "C:\\Fragen", 7);
    EXPECT_STREQ(s, "C:\\Fragen\\Game007\\Info.html");
    CString big;
    big.Format("%0500d", 1);
    EXPECT_EQ(big.GetLength(), 500);
    EXPECT_EQ(big.Compare(CString('0', 499) + "1"), 0);
}

TEST(CString, ComparesAndConcatenates) {
    CString a("Rot"), b("rot");
    EXPECT_NE(a, b);
    EXPECT_EQ(a.CompareNoCase(b), 0);
    EXPECT_TRUE(a < b);
    EXPECT_STREQ("Spieler " + a + '/' + CString("Blau"), "Spieler Rot/Blau");
}

TEST(CString, WideConversionUsesTheAnsiCodePage) {
    CString s(L"Größe");
    EXPECT_STREQ(s, "Größe");
}

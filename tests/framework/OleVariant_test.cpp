// The automation value types: COleVariant owns what it holds, CByteArray grows and shrinks safely.
#include <gtest/gtest.h>

#include "framework/Framework.h"

TEST(OleVariant, TextsAreBstrsInTheAnsiCodePage) {
    COleVariant text("Größe");
    ASSERT_EQ(text.vt, VT_BSTR);
    EXPECT_EQ(SysStringLen(text.bstrVal), 5u);
    EXPECT_EQ(text.bstrVal[2], L'\u00f6');
    EXPECT_STREQ(CString(text.bstrVal), "Größe");
    COleVariant none((LPCSTR) nullptr);
    ASSERT_EQ(none.vt, VT_BSTR);
    EXPECT_EQ(SysStringLen(none.bstrVal), 0u);

    // Copies are deep: each owns its own text.
    COleVariant copy(text);
    EXPECT_NE(copy.bstrVal, text.bstrVal);
    text = "neu";
    EXPECT_STREQ(CString(copy.bstrVal), "Größe");
    copy = text;
    EXPECT_STREQ(CString(copy.bstrVal), "neu");
}

TEST(OleVariant, NumbersFlagsAndOwnershipHandOver) {
    EXPECT_EQ(COleVariant(7L).vt, VT_I4);
    COleVariant flag(5L, VT_BOOL);
    EXPECT_EQ(flag.vt, VT_BOOL);
    EXPECT_EQ(flag.boolVal, VARIANT_TRUE);
    COleVariant error((long)DISP_E_PARAMNOTFOUND, VT_ERROR);
    EXPECT_EQ(error.scode, DISP_E_PARAMNOTFOUND);
    COleVariant small((short)-3);
    EXPECT_EQ(small.vt, VT_I2);
    EXPECT_EQ(small.iVal, -3);

    COleVariant number("42");
    number.ChangeType(VT_I4);
    EXPECT_EQ(number.vt, VT_I4);
    EXPECT_EQ(number.lVal, 42);

    // Attach takes a VARIANT's contents over and empties it; Detach hands them out again.
    VARIANT raw;
    VariantInit(&raw);
    raw.vt = VT_BSTR;
    raw.bstrVal = SysAllocString(L"Fragen");
    COleVariant holder;
    holder.Attach(raw);
    EXPECT_EQ(raw.vt, VT_EMPTY);
    VARIANT out = holder.Detach();
    EXPECT_EQ(holder.vt, VT_EMPTY);
    ASSERT_EQ(out.vt, VT_BSTR);
    EXPECT_STREQ(out.bstrVal, L"Fragen");
    VariantClear(&out);
}

TEST(ByteArray, GrowsAndShrinksWithinItsBounds) {
    CByteArray data;
    EXPECT_TRUE(data.IsEmpty());
    EXPECT_EQ(data.GetData(), nullptr);
    EXPECT_EQ(data.Add(1), 0);
    EXPECT_EQ(data.Add(2), 1);
    data.InsertAt(4, 9, 2);  // beyond the end: the gap is filled with zeros
    ASSERT_EQ(data.GetSize(), 6);
    EXPECT_EQ(data[2], 0);
    EXPECT_EQ(data[4], 9);
    EXPECT_EQ(data.GetUpperBound(), 5);
    data.RemoveAt(3, 100);  // the count is cut at the end
    EXPECT_EQ(data.GetSize(), 3);
    data.RemoveAt(7);
    data.InsertAt(-1, 5);
    EXPECT_EQ(data.GetSize(), 3);
    CByteArray more;
    more.Copy(data);
    EXPECT_EQ(more.Append(data), 3);
    EXPECT_EQ(more.GetSize(), 6);
    EXPECT_EQ(more[4], 2);
    data.SetSize(-5);
    EXPECT_EQ(data.GetSize(), 0);
}

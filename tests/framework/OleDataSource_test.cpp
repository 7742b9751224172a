// The data object of drag and drop: cached blocks, copies for every reader, formats listed.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

#include "framework/Framework.h"

namespace {

HGLOBAL Text(const char* s) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, strlen(s) + 1);
    memcpy(GlobalLock(h), s, strlen(s) + 1);
    GlobalUnlock(h);
    return h;
}

std::string Read(HGLOBAL h) {
    std::string s(static_cast<const char*>(GlobalLock(h)));
    GlobalUnlock(h);
    return s;
}

class CCancellingSource : public COleDropSource {
public:
    int asked = 0;
    SCODE QueryContinueDrag(BOOL, DWORD) override {
        ++asked;
        return DRAGDROP_S_CANCEL;
    }
};

}  // namespace

TEST(OleDataSource, OffersCopiesOfItsData) {
    AfxOleInit();
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, Text("C:\\Spiel"));
    source.CacheGlobalData(CF_HDROP, Text("drop"));
    IDataObject* data = source.GetDataObject();

    FORMATETC text = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    FORMATETC unicode = {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(data->QueryGetData(&text), S_OK);
    EXPECT_NE(data->QueryGetData(&unicode), S_OK);

    STGMEDIUM first = {}, second = {};
    ASSERT_EQ(data->GetData(&text, &first), S_OK);
    ASSERT_EQ(data->GetData(&text, &second), S_OK);
    EXPECT_NE(first.hGlobal, second.hGlobal);
    EXPECT_EQ(Read(first.hGlobal), "C:\\Spiel");
    ReleaseStgMedium(&first);
    EXPECT_EQ(Read(second.hGlobal), "C:\\Spiel");  // unaffected by the first reader's release
    ReleaseStgMedium(&second);

    IEnumFORMATETC* formats = nullptr;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
    FORMATETC listed[4];
    ULONG count = 0;
    formats->Next(4, listed, &count);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(listed[0].cfFormat, CF_TEXT);
    EXPECT_EQ(listed[1].cfFormat, CF_HDROP);
    formats->Release();

    // A target may leave data behind.
    STGMEDIUM left = {};
    left.tymed = TYMED_HGLOBAL;
    left.hGlobal = Text("moved");
    FORMATETC effect = {(CLIPFORMAT)RegisterClipboardFormatA(CFSTR_PERFORMEDDROPEFFECT), nullptr, DVASPECT_CONTENT, -1,
                        TYMED_HGLOBAL};
    EXPECT_EQ(data->SetData(&effect, &left, TRUE), S_OK);
    EXPECT_EQ(data->QueryGetData(&effect), S_OK);

    // The data object outlives the source for whoever still holds it.
    data->Release();
}

TEST(OleDataSource, CancelledDragEndsWithoutEffect) {
    AfxOleInit();
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, Text("x"));
    CCancellingSource cancel;
    EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, &cancel), (DROPEFFECT)DROPEFFECT_NONE);
    EXPECT_GE(cancel.asked, 1);
}

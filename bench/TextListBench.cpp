// Sorted insert and lookup of 100,000 file names: CTextList against std::vector<std::string> with
// std::lower_bound, in the same run.
#include "bench/BenchClock.h"
#include "bench/BenchFigure.h"
#include "text/StrPrintf.h"
#include "text/TextList.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> MakeNames(int count) {
    static const char* stems[] = {"Bild", "Dokument", "Rechnung", "IMG_", "Scan", "Protokoll", "notes", "Game"};
    static const char* exts[] = {".jpg", ".txt", ".pdf", ".html", ".docx", ".png"};
    std::mt19937 rng(12345);
    std::vector<std::string> names;
    names.reserve((size_t)count);
    char buf[64];
    for (int i = 0; i < count; ++i) {
        StrPrintfNA(buf, sizeof(buf), "%s%05u_%03u%s", stems[rng() % 8], (unsigned)(rng() % 100000),
                    (unsigned)i % 1000, exts[rng() % 6]);
        names.emplace_back(buf);
    }
    return names;
}

}  // namespace

int main() {
    const int count = 100000;
    std::vector<std::string> names = MakeNames(count);

    double t0 = BenchSeconds();
    CTextList list;
    for (const std::string& n : names) list.InsertSorted((int)n.size(), n.c_str(), 0);
    double t1 = BenchSeconds();
    long found = 0;
    for (const std::string& n : names) found += list.SearchSorted((int)n.size(), n.c_str(), 0, -1, 0) >= 0;
    double t2 = BenchSeconds();

    std::vector<std::string> vec;
    for (const std::string& n : names) vec.insert(std::lower_bound(vec.begin(), vec.end(), n), n);
    double t3 = BenchSeconds();
    long foundVec = 0;
    for (const std::string& n : names) {
        auto it = std::lower_bound(vec.begin(), vec.end(), n);
        foundVec += it != vec.end() && *it == n;
    }
    double t4 = BenchSeconds();

    double listInsert = t1 - t0, listSearch = t2 - t1, vecInsert = t3 - t2, vecSearch = t4 - t3;
    printf("%d file names, found %ld / %ld\n", count, found, foundVec);
    printf("sorted insert:  CTextList %8.1f ms   vector<string> %8.1f ms   ratio %.2f\n", listInsert * 1000,
           vecInsert * 1000, listInsert / vecInsert);
    printf("SearchSorted:   CTextList %8.1f ms   lower_bound    %8.1f ms   ratio %.2f\n", listSearch * 1000,
           vecSearch * 1000, listSearch / vecSearch);
    printf("total:          CTextList %8.1f ms   vector<string> %8.1f ms   ratio %.2f (goal <= 1.5)\n",
           (listInsert + listSearch) * 1000, (vecInsert + vecSearch) * 1000,
           (listInsert + listSearch) / (vecInsert + vecSearch));
    BenchFigure("sorted insert", listInsert * 1000, vecInsert * 1000, "ms");
    BenchFigure("search sorted", listSearch * 1000, vecSearch * 1000, "ms");
    BenchFigure("total", (listInsert + listSearch) * 1000, (vecInsert + vecSearch) * 1000, "ms");
    return found == count && foundVec == count ? 0 : 1;
}

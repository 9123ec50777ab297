// history_dump FILE: prints every answer the history gives about FILE (see
// HistoryDump.h). It made tests/data/history/history-v4.txt from
// history-v4.sqlite3 with the program of schema 4, which the migration test
// compares the migrated file's answers with.
#include <cstdio>
#include <exception>

#include "history/HistoryDatabase.h"
#include "history/HistoryDump.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: history_dump FILE\n");
        return 2;
    }
    try {
        tarnwick::HistoryDatabase db(argv[1], false);
        std::fputs(tarnwick::test::dumpHistory(db).c_str(), stdout);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

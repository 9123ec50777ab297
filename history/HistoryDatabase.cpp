#include "history/HistoryDatabase.h"

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <limits>

#include "history/HistoryError.h"

namespace tarnwick {
namespace {

// Each entry brings a database of version i to version i + 1.
const char* const kMigrations[] = {
    // 0 -> 1: runs, pages, results, letters.
    "CREATE TABLE runs(id INTEGER PRIMARY KEY, started INTEGER NOT NULL, ended INTEGER,"
    " source TEXT NOT NULL, outcome TEXT);"
    "CREATE TABLE pages(id INTEGER PRIMARY KEY, advertiser TEXT NOT NULL, page TEXT NOT NULL,"
    " UNIQUE(advertiser, page));"
    "CREATE TABLE results(run_id INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,"
    " page_id INTEGER NOT NULL REFERENCES pages(id), profile TEXT NOT NULL,"
    " row INTEGER NOT NULL, result TEXT NOT NULL, checked INTEGER NOT NULL);"
    "CREATE TABLE letters(id INTEGER PRIMARY KEY,"
    " run_id INTEGER REFERENCES runs(id) ON DELETE CASCADE,"
    " page_id INTEGER NOT NULL REFERENCES pages(id), recipient TEXT NOT NULL,"
    " sent INTEGER NOT NULL, outcome TEXT NOT NULL);",
    // 1 -> 2: why a result is what it is and what the page showed, and the
    // indexes the per-page look-ups need.
    "ALTER TABLE results ADD COLUMN reason TEXT;"
    "ALTER TABLE results ADD COLUMN http_status INTEGER;"
    "ALTER TABLE results ADD COLUMN final_url TEXT;"
    "ALTER TABLE results ADD COLUMN rel TEXT;"
    "ALTER TABLE results ADD COLUMN anchor_text TEXT;"
    "ALTER TABLE results ADD COLUMN noindex INTEGER;"
    "ALTER TABLE results ADD COLUMN robots_txt TEXT;"
    "ALTER TABLE results ADD COLUMN elapsed_ms INTEGER;"
    "ALTER TABLE results ADD COLUMN verdict TEXT;"
    "CREATE INDEX results_run ON results(run_id, row);"
    "CREATE INDEX results_page ON results(page_id, run_id);"
    "CREATE INDEX letters_page ON letters(page_id, recipient, sent);",
    // 2 -> 3: the process sending a letter, so that a run can tell a letter
    // cut off by the end of its program from one still on its way.
    "ALTER TABLE letters ADD COLUMN pid INTEGER;",
    // 3 -> 4: every finding about a found link's worth (hidden, canonical,
    // redirected, per-crawler directives, link farm), one per line, so that
    // a finding that comes or goes is a change in quality.
    "ALTER TABLE results ADD COLUMN findings TEXT;",
    // 4 -> 5: a page checked again with the same result and evidence costs a
    // few bytes a run, not the whole row again. What a check found (profile,
    // result, reason, evidence) is a state of the page, kept once; each run's
    // check of a page is a small row naming its state, with what changes
    // every time: the moment of the check (seconds after the run's start,
    // which takes fewer bytes than a date) and how long it took. The checks
    // are clustered by run, so a run's results are read together, and
    // indexed by page, so that the look-back at the start of a run reads
    // each page's newest checks only.
    "CREATE TABLE states(id INTEGER PRIMARY KEY, page_id INTEGER NOT NULL REFERENCES pages(id),"
    " profile TEXT NOT NULL, result TEXT NOT NULL, reason TEXT, http_status INTEGER,"
    " final_url TEXT, rel TEXT, anchor_text TEXT, noindex INTEGER, robots_txt TEXT,"
    " verdict TEXT, findings TEXT);"
    "CREATE INDEX states_page ON states(page_id);"
    "CREATE TABLE checks(run_id INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,"
    " row INTEGER NOT NULL, page_id INTEGER NOT NULL REFERENCES pages(id),"
    " state_id INTEGER NOT NULL REFERENCES states(id), checked INTEGER NOT NULL,"
    " elapsed_ms INTEGER, PRIMARY KEY(run_id, row, page_id)) WITHOUT ROWID;"
    "CREATE INDEX checks_page ON checks(page_id, run_id);"
    // GROUP BY takes NULLs as equal, as a state's comparison with IS does.
    "INSERT INTO states(page_id, profile, result, reason, http_status, final_url, rel,"
    " anchor_text, noindex, robots_txt, verdict, findings)"
    " SELECT page_id, profile, result, reason, http_status, final_url, rel, anchor_text,"
    " noindex, robots_txt, verdict, findings FROM results"
    " GROUP BY page_id, profile, result, reason, http_status, final_url, rel, anchor_text,"
    " noindex, robots_txt, verdict, findings ORDER BY MIN(rowid);"
    // A page recorded twice at one row of one run (never done by a run) keeps
    // its later record.
    "INSERT OR REPLACE INTO checks(run_id, row, page_id, state_id, checked, elapsed_ms)"
    " SELECT x.run_id, x.row, x.page_id,"
    " (SELECT s.id FROM states s WHERE s.page_id = x.page_id AND s.profile = x.profile"
    " AND s.result = x.result AND s.reason IS x.reason AND s.http_status IS x.http_status"
    " AND s.final_url IS x.final_url AND s.rel IS x.rel AND s.anchor_text IS x.anchor_text"
    " AND s.noindex IS x.noindex AND s.robots_txt IS x.robots_txt AND s.verdict IS x.verdict"
    " AND s.findings IS x.findings),"
    " x.checked - COALESCE(r.started, 0), x.elapsed_ms"
    " FROM results x LEFT JOIN runs r ON r.id = x.run_id ORDER BY x.rowid;"
    "DROP TABLE results;",
};

// The state of a page equal to the one being recorded, newest first.
constexpr char kFindState[] =
    "SELECT id FROM states WHERE page_id = ? AND profile = ? AND result = ? AND reason IS ?"
    " AND http_status IS ? AND final_url IS ? AND rel IS ? AND anchor_text IS ?"
    " AND noindex IS ? AND robots_txt IS ? AND verdict IS ? AND findings IS ?"
    " ORDER BY id DESC LIMIT 1";
// Deletes state ?1 when no check names it any more.
constexpr char kDropUnusedState[] =
    "DELETE FROM states WHERE id = ?1 AND NOT EXISTS (SELECT 1 FROM checks c"
    " WHERE c.page_id = states.page_id AND c.state_id = ?1)";
static_assert(std::size(kMigrations) == kHistorySchemaVersion);

class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        m_rc = sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr);
    }
    // A statement of the connection's cache: reset, not finalised, at the end.
    explicit Statement(sqlite3_stmt* cached) : m_stmt(cached), m_cached(true) {
        m_rc = cached != nullptr ? SQLITE_OK : SQLITE_ERROR;
    }
    ~Statement() {
        if (!m_cached) {
            sqlite3_finalize(m_stmt);
        } else if (m_stmt != nullptr) {
            sqlite3_reset(m_stmt);
            sqlite3_clear_bindings(m_stmt);
        }
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return m_rc == SQLITE_OK || m_rc == SQLITE_ROW || m_rc == SQLITE_DONE; }

    void bind(int i, std::int64_t value) { check(sqlite3_bind_int64(m_stmt, i, value)); }
    void bind(int i, const std::string& value) {
        check(sqlite3_bind_text(m_stmt, i, value.data(), static_cast<int>(value.size()),
                                SQLITE_TRANSIENT));
    }
    template <class T>
    void bind(int i, const std::optional<T>& value) {
        if (value) {
            if constexpr (std::is_same_v<T, std::string>) {
                bind(i, *value);
            } else {
                bind(i, static_cast<std::int64_t>(*value));
            }
        } else {
            check(sqlite3_bind_null(m_stmt, i));
        }
    }

    // True while there is a row.
    bool step() {
        if (!ok()) {
            return false;
        }
        m_rc = sqlite3_step(m_stmt);
        return m_rc == SQLITE_ROW;
    }

    std::int64_t Int(int i) { return sqlite3_column_int64(m_stmt, i); }
    bool isNull(int i) { return sqlite3_column_type(m_stmt, i) == SQLITE_NULL; }
    std::string text(int i) {
        const auto* text = sqlite3_column_text(m_stmt, i);
        return text == nullptr ? std::string()
                               : std::string(reinterpret_cast<const char*>(text),
                                             static_cast<size_t>(sqlite3_column_bytes(m_stmt, i)));
    }
    std::optional<std::string> optText(int i) {
        return isNull(i) ? std::nullopt : std::optional<std::string>(text(i));
    }
    std::optional<std::int64_t> optInt(int i) {
        return isNull(i) ? std::nullopt : std::optional<std::int64_t>(Int(i));
    }

private:
    void check(int rc) {
        if (rc != SQLITE_OK && ok()) {
            m_rc = rc;
        }
    }

    sqlite3_stmt* m_stmt = nullptr;
    bool m_cached = false;
    int m_rc = SQLITE_OK;
};

// The four result words as parameters first..first+3 of a statement that
// counts them (SUM(x.result = ?) four times), and the counts it read back.
void bindResultWords(Statement& st, int first) {
    st.bind(first, resultWord(LinkResult::Found));
    st.bind(first + 1, resultWord(LinkResult::NotFound));
    st.bind(first + 2, resultWord(LinkResult::CannotBeFound));
    st.bind(first + 3, resultWord(LinkResult::CannotBeDisplayed));
}

// A stored result word read back. A word this program never writes says
// nothing of the link, as a page that could not be displayed.
LinkResult storedResult(const std::string& word) {
    return resultFromWord(word).value_or(LinkResult::CannotBeDisplayed);
}

ResultCounts countsAt(Statement& st, int first) {
    ResultCounts counts;
    counts.m_found = static_cast<int>(st.Int(first));
    counts.m_notFound = static_cast<int>(st.Int(first + 1));
    counts.m_cannotBeFound = static_cast<int>(st.Int(first + 2));
    counts.m_cannotBeDisplayed = static_cast<int>(st.Int(first + 3));
    return counts;
}

}  // namespace

std::string HistoryDatabase::pathIn(const std::string& dataFolder) {
    return dataFolder + "/" + kHistoryFileName;
}

HistoryDatabase::HistoryDatabase(const std::string& path, bool create, int busyWaitMs)
    : m_path(path) {
    const int flags =
        SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
        const std::string why = m_db != nullptr ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw HistoryError(path + ": " + why);
    }
    try {
        // A busy database (another program writing) is waited for a moment,
        // never for long: the callers report it and go on without history.
        sqlite3_busy_timeout(m_db, busyWaitMs);
        exec("PRAGMA foreign_keys=ON");
        // The first read finds a file that is not a database.
        schemaVersion();
        migrate();
        exec("PRAGMA journal_mode=WAL");
        exec("PRAGMA synchronous=NORMAL");
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
}

HistoryDatabase::~HistoryDatabase() {
    for (const auto& [sql, statement] : m_statements) {
        sqlite3_finalize(statement);
    }
    sqlite3_close(m_db);
}

sqlite3_stmt* HistoryDatabase::cached(const char* sql) {
    auto it = m_statements.find(sql);
    if (it == m_statements.end()) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK) {
            return nullptr;
        }
        it = m_statements.emplace(sql, statement).first;
    }
    return it->second;
}

std::string HistoryDatabase::why(const char* message) const {
    const std::string text = message != nullptr ? message : sqlite3_errmsg(m_db);
    // SQLite calls a write refused for the file size limit (ulimit -f) a
    // disk I/O error; the user is told what it is, as for a full disk. The
    // system's reason is kept by the file that failed: the database's own is
    // asked; a write of its journal that failed under a file size limit is
    // taken to have met that limit.
    int error = sqlite3_system_errno(m_db);
    if (error == 0) {
        sqlite3_file_control(m_db, "main", SQLITE_FCNTL_LAST_ERRNO, &error);
    }
    if (error == 0 && sqlite3_extended_errcode(m_db) == SQLITE_IOERR_WRITE) {
        rlimit limit{};
        if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
            error = EFBIG;
        }
    }
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return text + " (disk full)";
        case EFBIG:
            return text + " (file size limit reached)";
        default:
            return text;
    }
}

void HistoryDatabase::fail(const std::string& what) {
    throw HistoryError(m_path + ": " + what + ": " + why());
}

void HistoryDatabase::exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string reason = why(message);
        sqlite3_free(message);
        throw HistoryError(m_path + ": " + reason);
    }
}

int HistoryDatabase::schemaVersion() {
    Statement st(m_db, "PRAGMA user_version");
    if (!st.step()) {
        fail("cannot read the schema version");
    }
    return static_cast<int>(st.Int(0));
}

void HistoryDatabase::migrate() {
    int version = schemaVersion();
    if (version > kHistorySchemaVersion) {
        throw HistoryError(m_path + ": made by a newer version of the program (schema " +
                           std::to_string(version) + ")");
    }
    if (version == kHistorySchemaVersion) {
        return;
    }
    exec("BEGIN IMMEDIATE");
    try {
        // Another program may have migrated it while this one waited.
        version = schemaVersion();
        for (; version < kHistorySchemaVersion; ++version) {
            exec(kMigrations[version]);
        }
        exec(("PRAGMA user_version=" + std::to_string(kHistorySchemaVersion)).c_str());
        exec("COMMIT");
    } catch (...) {
        rollback();
        throw;
    }
    // The rows the migration replaced leave free pages behind, most of the
    // file for a long history. Giving them back is worth a moment once; a
    // file that cannot be compacted (no room for the copy) is as good as it
    // was.
    sqlite3_exec(m_db, "VACUUM", nullptr, nullptr, nullptr);
}

void HistoryDatabase::begin() {
    exec("BEGIN IMMEDIATE");
}

void HistoryDatabase::commit() {
    exec("COMMIT");
}

void HistoryDatabase::rollback() noexcept {
    m_runStarts.clear();
    if (sqlite3_get_autocommit(m_db) == 0) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

std::int64_t HistoryDatabase::beginRun(const std::string& source, std::int64_t started) {
    Statement st(m_db, "INSERT INTO runs(started, source) VALUES(?, ?)");
    st.bind(1, started);
    st.bind(2, source);
    st.step();
    if (!st.ok()) {
        fail("cannot record the run");
    }
    return sqlite3_last_insert_rowid(m_db);
}

void HistoryDatabase::endRun(std::int64_t runId, std::int64_t ended, const std::string& outcome) {
    Statement st(m_db, "UPDATE runs SET ended = ?, outcome = ? WHERE id = ?");
    st.bind(1, ended);
    st.bind(2, outcome);
    st.bind(3, runId);
    st.step();
    if (!st.ok()) {
        fail("cannot record the end of the run");
    }
}

std::int64_t HistoryDatabase::pageId(const std::string& advertiser, const std::string& page) {
    // Looked up every time, not remembered: a run records each page once,
    // and the unique index answers in microseconds, where remembering the
    // ids of a run of 50,000 pages would hold their addresses a second time.
    std::int64_t id = 0;
    {
        Statement find(cached("SELECT id FROM pages WHERE advertiser = ? AND page = ?"));
        find.bind(1, advertiser);
        find.bind(2, page);
        if (find.step()) {
            id = find.Int(0);
        } else if (!find.ok()) {
            fail("cannot look up a page");
        }
    }
    if (id == 0) {
        Statement add(cached("INSERT INTO pages(advertiser, page) VALUES(?, ?)"));
        add.bind(1, advertiser);
        add.bind(2, page);
        add.step();
        if (!add.ok()) {
            fail("cannot record a page");
        }
        id = sqlite3_last_insert_rowid(m_db);
    }
    return id;
}

std::int64_t HistoryDatabase::startOf(std::int64_t runId) {
    if (const auto known = m_runStarts.find(runId); known != m_runStarts.end()) {
        return known->second;
    }
    Statement st(cached("SELECT started FROM runs WHERE id = ?"));
    st.bind(1, runId);
    const std::int64_t started = st.step() ? st.Int(0) : 0;
    if (!st.ok()) {
        fail("cannot read the runs");
    }
    m_runStarts.emplace(runId, started);
    return started;
}

std::int64_t HistoryDatabase::stateId(std::int64_t pageId, const PageRecord& r) {
    const auto bind = [&](Statement& st) {
        st.bind(1, pageId);
        st.bind(2, r.m_profile);
        st.bind(3, resultWord(r.m_result));
        st.bind(4, r.m_reason);
        st.bind(5, r.m_httpStatus);
        st.bind(6, r.m_finalUrl);
        st.bind(7, r.m_rel);
        st.bind(8, r.m_anchorText);
        st.bind(9, r.m_noindex);
        st.bind(10, r.m_robotsTxt);
        st.bind(11, r.m_verdict);
        st.bind(12, r.m_findings);
    };
    {
        Statement find(cached(kFindState));
        bind(find);
        if (find.step()) {
            return find.Int(0);
        }
        if (!find.ok()) {
            fail("cannot look up a page result");
        }
    }
    Statement add(
        cached("INSERT INTO states(page_id, profile, result, reason, http_status, final_url,"
               " rel, anchor_text, noindex, robots_txt, verdict, findings)"
               " VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    bind(add);
    add.step();
    if (!add.ok()) {
        fail("cannot record a page result");
    }
    return sqlite3_last_insert_rowid(m_db);
}

void HistoryDatabase::addResult(std::int64_t runId, const PageRecord& r) {
    const std::int64_t pageId = this->pageId(r.m_advertiser, r.m_page);
    const std::int64_t stateId = this->stateId(pageId, r);
    Statement st(
        cached("INSERT OR REPLACE INTO checks(run_id, row, page_id, state_id, checked,"
               " elapsed_ms) VALUES(?, ?, ?, ?, ?, ?)"));
    st.bind(1, runId);
    st.bind(2, static_cast<std::int64_t>(r.m_row));
    st.bind(3, pageId);
    st.bind(4, stateId);
    st.bind(5, r.m_checked - startOf(runId));
    st.bind(6, r.m_elapsedMs);
    st.step();
    if (!st.ok()) {
        fail("cannot record a page result");
    }
}

std::int64_t HistoryDatabase::addLetter(std::int64_t runId, const LetterRecord& letter) {
    const std::int64_t pageId = this->pageId(letter.m_advertiser, letter.m_page);
    Statement st(m_db,
                 "INSERT INTO letters(run_id, page_id, recipient, sent, outcome, pid)"
                 " VALUES(?, ?, ?, ?, ?, ?)");
    st.bind(1, runId > 0 ? std::optional<std::int64_t>(runId) : std::nullopt);
    st.bind(2, pageId);
    st.bind(3, letter.m_recipient);
    st.bind(4, letter.m_time);
    st.bind(5, letter.m_outcome);
    st.bind(6, letter.m_process > 0 ? std::optional<std::int64_t>(letter.m_process) : std::nullopt);
    st.step();
    if (!st.ok()) {
        fail("cannot record a letter");
    }
    return sqlite3_last_insert_rowid(m_db);
}

bool HistoryDatabase::completeLetter(std::int64_t letterId, std::int64_t time,
                                     const std::string& outcome) {
    Statement st(m_db,
                 "UPDATE letters SET sent = ?, outcome = ?, pid = NULL"
                 " WHERE id = ? AND outcome = ?");
    st.bind(1, time);
    st.bind(2, outcome);
    st.bind(3, letterId);
    st.bind(4, std::string(kLetterSending));
    st.step();
    if (!st.ok()) {
        fail("cannot record a letter");
    }
    return sqlite3_changes(m_db) > 0;
}

std::vector<SendingLetter> HistoryDatabase::lettersSending() {
    Statement st(m_db,
                 "SELECT l.id, p.advertiser, p.page, l.recipient, l.sent, l.pid FROM letters l"
                 " JOIN pages p ON p.id = l.page_id WHERE l.outcome = ? ORDER BY l.id");
    st.bind(1, std::string(kLetterSending));
    std::vector<SendingLetter> letters;
    while (st.step()) {
        SendingLetter l;
        l.m_id = st.Int(0);
        l.m_letter = {st.text(1), st.text(2),     st.text(3),
                      st.Int(4),  kLetterSending, st.isNull(5) ? 0 : st.Int(5)};
        letters.push_back(std::move(l));
    }
    if (!st.ok()) {
        fail("cannot read the letters being sent");
    }
    return letters;
}

void HistoryDatabase::forgetResults(std::int64_t runId) {
    std::vector<std::int64_t> states;
    {
        Statement st(m_db, "SELECT DISTINCT state_id FROM checks WHERE run_id = ?");
        st.bind(1, runId);
        while (st.step()) {
            states.push_back(st.Int(0));
        }
        if (!st.ok()) {
            fail("cannot drop the results of an offline run");
        }
    }
    {
        Statement st(m_db, "DELETE FROM checks WHERE run_id = ?");
        st.bind(1, runId);
        st.step();
        if (!st.ok()) {
            fail("cannot drop the results of an offline run");
        }
    }
    // The states only this run had go with it.
    for (const std::int64_t state : states) {
        Statement st(cached(kDropUnusedState));
        st.bind(1, state);
        st.step();
        if (!st.ok()) {
            fail("cannot drop the results of an offline run");
        }
    }
}

int HistoryDatabase::pruneBefore(std::int64_t time) {
    begin();
    try {
        int removed = 0;
        {
            Statement st(m_db, "DELETE FROM runs WHERE started < ?");
            st.bind(1, time);
            st.step();
            if (!st.ok()) {
                fail("cannot remove old runs");
            }
            removed = sqlite3_changes(m_db);
        }
        exec(
            "DELETE FROM states WHERE NOT EXISTS (SELECT 1 FROM checks c"
            " WHERE c.page_id = states.page_id AND c.state_id = states.id)");
        exec(
            "DELETE FROM pages WHERE id NOT IN (SELECT page_id FROM checks)"
            " AND id NOT IN (SELECT page_id FROM letters)");
        commit();
        return removed;
    } catch (...) {
        rollback();
        throw;
    }
}

std::vector<RunInfo> HistoryDatabase::runs() {
    Statement st(m_db,
                 "SELECT r.id, r.started, r.ended, r.source, r.outcome,"
                 " SUM(x.result = ?), SUM(x.result = ?), SUM(x.result = ?), SUM(x.result = ?)"
                 " FROM runs r LEFT JOIN checks c ON c.run_id = r.id"
                 " LEFT JOIN states x ON x.id = c.state_id GROUP BY r.id ORDER BY r.id");
    bindResultWords(st, 1);
    std::vector<RunInfo> runs;
    while (st.step()) {
        RunInfo run;
        run.m_id = st.Int(0);
        run.m_started = st.Int(1);
        run.m_ended = st.Int(2);
        run.m_source = st.text(3);
        run.m_outcome = st.text(4);
        run.m_counts = countsAt(st, 5);
        runs.push_back(std::move(run));
    }
    if (!st.ok()) {
        fail("cannot read the runs");
    }
    return runs;
}

std::map<std::int64_t, std::int64_t> HistoryDatabase::rounds() {
    // A run stopped before its end (or cut off with its program) is taken up
    // again by the next Play: that run continues the same round, unless it
    // began a day or more later (then it is the next week's run).
    constexpr std::int64_t kSameRound = 24 * 60 * 60;
    Statement st(m_db, "SELECT id, started, outcome FROM runs ORDER BY id");
    std::map<std::int64_t, std::int64_t> rounds;
    std::int64_t round = 0;
    bool continues = false;
    std::int64_t lastStarted = 0;
    while (st.step()) {
        const std::int64_t started = st.Int(1);
        if (!continues || started - lastStarted >= kSameRound) {
            ++round;
        }
        rounds[st.Int(0)] = round;
        continues = st.text(2) != kOutcomeCompleted;
        lastStarted = started;
    }
    if (!st.ok()) {
        fail("cannot read the runs");
    }
    return rounds;
}

HistoryDatabase::LookBack HistoryDatabase::lookBackBefore(std::int64_t runId) {
    LookBack look;
    look.m_rounds = this->rounds();
    // The streak counts rounds, and the round runId belongs to is the run's
    // own: its missing results from a stopped run are not counted again.
    look.m_ownRound = runId == 0 ? -2 : look.roundOf(runId);
    look.m_below = runId == 0 ? std::numeric_limits<std::int64_t>::max() : runId;
    return look;
}

std::int64_t HistoryDatabase::LookBack::roundOf(std::int64_t run) const {
    const auto it = m_rounds.find(run);
    return it == m_rounds.end() ? std::int64_t{-1} : it->second;
}

std::optional<PageBefore> HistoryDatabase::pageBeforeOf(std::int64_t pageId, const LookBack& look) {
    // Newest first: the first conclusive result is the one compared with,
    // the leading missing ones make the streak. The walk ends there, so a
    // page whose link was seen last run costs one or two rows however many
    // runs the history holds.
    Statement st(
        cached("SELECT x.run_id, s.result, s.verdict, s.findings FROM checks x"
               " JOIN states s ON s.id = x.state_id WHERE x.page_id = ? AND x.run_id < ?"
               " ORDER BY x.run_id DESC, x.row DESC"));
    st.bind(1, pageId);
    st.bind(2, look.m_below);
    std::optional<PageBefore> before;
    bool streakEnded = false;
    std::optional<std::int64_t> lastCountedRound;
    while (st.step()) {
        const LinkResult result = storedResult(st.text(1));
        const bool conclusive = isLinkPresent(result) || isLinkMissing(result);
        // An unreadable page says nothing of the link: an older conclusive
        // result is the last word on it.
        if (!before ||
            (conclusive && !isLinkPresent(before->m_result) && !isLinkMissing(before->m_result))) {
            if (!before) {
                before.emplace();
            }
            before->m_result = result;
            before->m_verdict = st.optText(2);
            before->m_findings = st.optText(3);
        }
        if (!streakEnded) {
            if (isLinkMissing(result)) {
                const std::int64_t round = look.roundOf(st.Int(0));
                if (round != look.m_ownRound && lastCountedRound != round) {
                    ++before->m_missingStreak;
                }
                lastCountedRound = round;
            } else if (isLinkPresent(result)) {
                streakEnded = true;
            }
        }
        // Nothing older changes the answer any more.
        if (streakEnded && (isLinkPresent(before->m_result) || isLinkMissing(before->m_result))) {
            break;
        }
    }
    if (!st.ok()) {
        fail("cannot read earlier results");
    }
    return before;
}

std::map<PageKey, PageBefore> HistoryDatabase::pagesBefore(std::int64_t runId) {
    std::map<PageKey, PageBefore> pages;
    eachPageBefore(runId, [&pages](const PageKey& key, const PageBefore& before) {
        pages.emplace(key, before);
    });
    return pages;
}

void HistoryDatabase::eachPageBefore(
    std::int64_t runId, const std::function<void(const PageKey&, const PageBefore&)>& visit) {
    const LookBack look = lookBackBefore(runId);
    Statement st(m_db, "SELECT id, advertiser, page FROM pages ORDER BY id");
    while (st.step()) {
        if (const std::optional<PageBefore> before = pageBeforeOf(st.Int(0), look)) {
            visit({st.text(1), st.text(2)}, *before);
        }
    }
    if (!st.ok()) {
        fail("cannot read earlier results");
    }
}

std::map<std::pair<PageKey, std::string>, std::int64_t> HistoryDatabase::lastLettersSent() {
    Statement st(m_db,
                 "SELECT p.advertiser, p.page, l.recipient, MAX(l.sent) FROM letters l"
                 " JOIN pages p ON p.id = l.page_id WHERE l.outcome IN (?, ?, ?)"
                 " GROUP BY l.page_id, l.recipient");
    // A letter on its way, or cut off on its way, counts as sent.
    st.bind(1, std::string(kLetterSent));
    st.bind(2, std::string(kLetterSending));
    st.bind(3, std::string(kLetterTakenAsSent));
    std::map<std::pair<PageKey, std::string>, std::int64_t> letters;
    while (st.step()) {
        letters[{{st.text(0), st.text(1)}, st.text(2)}] = st.Int(3);
    }
    if (!st.ok()) {
        fail("cannot read earlier letters");
    }
    return letters;
}

std::vector<PageRecord> HistoryDatabase::resultsOf(std::int64_t runId) {
    return resultsOf(runId, nullptr);
}

namespace {

// The columns a page's record is read from, as ReadRecord reads them: the
// check (c), its state (s), its page (p) and its run (r).
constexpr const char* kRecordColumns =
    "SELECT s.profile, p.advertiser, p.page, c.row, s.result, r.started + c.checked,"
    " s.reason, s.http_status, s.final_url, s.rel, s.anchor_text, s.noindex, s.robots_txt,"
    " c.elapsed_ms, s.verdict, s.findings, c.page_id"
    " FROM checks c JOIN states s ON s.id = c.state_id"
    " JOIN pages p ON p.id = c.page_id JOIN runs r ON r.id = c.run_id ";
constexpr int kPageIdColumn = 16;

PageRecord readRecord(Statement& st) {
    PageRecord r;
    r.m_profile = st.text(0);
    r.m_advertiser = st.text(1);
    r.m_page = st.text(2);
    r.m_row = static_cast<int>(st.Int(3));
    r.m_result = storedResult(st.text(4));
    r.m_checked = st.Int(5);
    r.m_reason = st.optText(6);
    if (const auto status = st.optInt(7)) {
        r.m_httpStatus = static_cast<int>(*status);
    }
    r.m_finalUrl = st.optText(8);
    r.m_rel = st.optText(9);
    r.m_anchorText = st.optText(10);
    if (const auto noindex = st.optInt(11)) {
        r.m_noindex = *noindex != 0;
    }
    r.m_robotsTxt = st.optText(12);
    r.m_elapsedMs = st.optInt(13);
    r.m_verdict = st.optText(14);
    r.m_findings = st.optText(15);
    return r;
}

}  // namespace

std::vector<PageRecord> HistoryDatabase::resultsOf(std::int64_t runId,
                                                   std::vector<std::int64_t>* pageIds) {
    const std::string sql =
        std::string(kRecordColumns) + "WHERE c.run_id = ? ORDER BY c.row, c.page_id";
    Statement st(m_db, sql.c_str());
    st.bind(1, runId);
    std::vector<PageRecord> records;
    while (st.step()) {
        records.push_back(readRecord(st));
        if (pageIds != nullptr) {
            pageIds->push_back(st.Int(kPageIdColumn));
        }
    }
    if (!st.ok()) {
        fail("cannot read the results of a run");
    }
    return records;
}

std::map<PageKey, PageRecord> HistoryDatabase::lastResults() {
    // Rows of the newest run per page, first row first: a page listed twice
    // in that run keeps the first.
    const std::string sql = std::string(kRecordColumns) +
                            "WHERE c.run_id = (SELECT MAX(y.run_id) FROM checks y"
                            " WHERE y.page_id = c.page_id) ORDER BY c.row DESC";
    Statement st(m_db, sql.c_str());
    std::map<PageKey, PageRecord> pages;
    while (st.step()) {
        PageRecord r = readRecord(st);
        pages[{r.m_advertiser, r.m_page}] = std::move(r);
    }
    if (!st.ok()) {
        fail("cannot read the last results");
    }
    return pages;
}

RunChanges HistoryDatabase::changesOf(std::int64_t runId) {
    RunChanges changes;
    if (runId == 0) {
        Statement last(m_db, "SELECT MAX(run_id) FROM checks");
        if (last.step()) {
            runId = last.Int(0);
        }
        if (!last.ok()) {
            fail("cannot read the runs");
        }
        if (runId == 0) {
            return changes;
        }
    }
    changes.m_runId = runId;
    {
        Statement prev(m_db, "SELECT MAX(run_id) FROM checks WHERE run_id < ?");
        prev.bind(1, runId);
        if (prev.step()) {
            changes.m_previousId = prev.Int(0);
        }
    }
    {
        Statement offline(m_db,
                          "SELECT started FROM runs WHERE outcome = ? AND id > ? AND id < ?"
                          " ORDER BY id");
        offline.bind(1, std::string(kOutcomeOffline));
        offline.bind(2, changes.m_previousId);
        offline.bind(3, runId);
        while (offline.step()) {
            changes.m_offlineStarts.push_back(offline.Int(0));
        }
        if (!offline.ok()) {
            fail("cannot read the runs");
        }
    }
    {
        Statement outcome(m_db, "SELECT COALESCE(outcome, '') FROM runs WHERE id = ?");
        outcome.bind(1, runId);
        if (outcome.step()) {
            changes.m_outcome = outcome.text(0);
        }
    }
    if (changes.m_outcome != kOutcomeCompleted) {
        // A run stopped or cut off says nothing of the pages it did not
        // reach; "no change" alone would hide them. They are counted against
        // the last run that completed.
        Statement missed(m_db,
                         "SELECT COUNT(DISTINCT page_id) FROM checks WHERE run_id ="
                         " (SELECT MAX(id) FROM runs WHERE id < ? AND outcome = ?)"
                         " AND page_id NOT IN (SELECT page_id FROM checks WHERE run_id = ?)");
        missed.bind(1, runId);
        missed.bind(2, std::string(kOutcomeCompleted));
        missed.bind(3, runId);
        if (missed.step()) {
            changes.m_notChecked = static_cast<int>(missed.Int(0));
        }
        if (!missed.ok()) {
            fail("cannot read the runs");
        }
    }
    // Only the run's own pages are looked back at, by id.
    const LookBack look = lookBackBefore(runId);
    std::vector<std::int64_t> pageIds;
    const std::vector<PageRecord> records = resultsOf(runId, &pageIds);
    for (size_t k = 0; k < records.size(); ++k) {
        const PageRecord& r = records[k];
        PageChange change;
        change.m_profile = r.m_profile;
        change.m_advertiser = r.m_advertiser;
        change.m_page = r.m_page;
        change.m_to = resultWord(r.m_result);
        change.m_toVerdict = r.m_verdict;
        change.m_toFindings = r.m_findings;
        const std::optional<PageBefore> was = pageBeforeOf(pageIds[k], look);
        if (was) {
            change.m_from = resultWord(was->m_result);
            change.m_fromVerdict = was->m_verdict;
            change.m_fromFindings = was->m_findings;
        }
        change.m_transition = transitionOf(was, r.m_result, r.m_verdict, r.m_findings);
        changes.m_counts.add(change.m_transition);
        changes.m_changes.push_back(std::move(change));
    }
    return changes;
}

std::vector<std::string> HistoryDatabase::profiles() {
    Statement st(m_db, "SELECT DISTINCT profile FROM states ORDER BY profile");
    std::vector<std::string> profiles;
    while (st.step()) {
        profiles.push_back(st.text(0));
    }
    if (!st.ok()) {
        fail("cannot read the profiles");
    }
    return profiles;
}

std::vector<ProfileRunCounts> HistoryDatabase::countsOfProfile(const std::string& profile) {
    Statement st(m_db,
                 "SELECT r.id, r.started, SUM(x.result = ?), SUM(x.result = ?),"
                 " SUM(x.result = ?), SUM(x.result = ?) FROM checks c"
                 " JOIN states x ON x.id = c.state_id JOIN runs r ON r.id = c.run_id"
                 " WHERE x.profile = ? GROUP BY r.id ORDER BY r.id");
    bindResultWords(st, 1);
    st.bind(5, profile);
    std::vector<ProfileRunCounts> runs;
    while (st.step()) {
        ProfileRunCounts run;
        run.m_runId = st.Int(0);
        run.m_started = st.Int(1);
        run.m_counts = countsAt(st, 2);
        runs.push_back(run);
    }
    if (!st.ok()) {
        fail("cannot read the counts of a profile");
    }
    return runs;
}

std::vector<PageKey> HistoryDatabase::pagesOfProfile(const std::string& profile) {
    Statement st(m_db,
                 "SELECT p.advertiser, p.page, MIN(c.row) FROM checks c"
                 " JOIN states x ON x.id = c.state_id JOIN pages p ON p.id = c.page_id"
                 " WHERE x.profile = ? GROUP BY p.id ORDER BY MIN(c.row), p.page");
    st.bind(1, profile);
    std::vector<PageKey> pages;
    while (st.step()) {
        pages.emplace_back(st.text(0), st.text(1));
    }
    if (!st.ok()) {
        fail("cannot read the pages of a profile");
    }
    return pages;
}

std::vector<TimelineEntry> HistoryDatabase::timeline(const PageKey& page) {
    std::vector<TimelineEntry> entries;
    {
        Statement st(m_db,
                     "SELECT r.started + c.checked, c.run_id, x.result, x.reason, x.verdict"
                     " FROM pages p JOIN checks c ON c.page_id = p.id"
                     " JOIN states x ON x.id = c.state_id JOIN runs r ON r.id = c.run_id"
                     " WHERE p.advertiser = ? AND p.page = ? ORDER BY c.run_id, c.row");
        st.bind(1, page.first);
        st.bind(2, page.second);
        while (st.step()) {
            TimelineEntry e;
            e.m_time = st.Int(0);
            e.m_runId = st.Int(1);
            e.m_text = st.text(2);
            std::string detail = st.text(3);
            if (const auto verdict = st.optText(4)) {
                detail += (detail.empty() ? "" : "; ") + *verdict;
            }
            e.m_detail = detail;
            entries.push_back(std::move(e));
        }
        if (!st.ok()) {
            fail("cannot read the timeline of a page");
        }
    }
    Statement st(m_db,
                 "SELECT l.sent, l.run_id, l.outcome, l.recipient FROM letters l"
                 " JOIN pages p ON p.id = l.page_id WHERE p.advertiser = ? AND p.page = ?"
                 " ORDER BY l.id");
    st.bind(1, page.first);
    st.bind(2, page.second);
    while (st.step()) {
        TimelineEntry e;
        e.m_time = st.Int(0);
        e.m_runId = st.isNull(1) ? 0 : st.Int(1);
        e.m_letter = true;
        e.m_text = st.text(2);
        e.m_detail = st.text(3);
        entries.push_back(std::move(e));
    }
    if (!st.ok()) {
        fail("cannot read the letters of a page");
    }
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.m_time != b.m_time ? a.m_time < b.m_time : a.m_runId < b.m_runId;
    });
    return entries;
}

}  // namespace tarnwick

// Needs the HTTPS server of with_https_server.py, which CTest starts around this program; the
// Offline case runs in a network namespace without any (download_tests_offline).
#include "download/DownloadWorker.h"

#include "app/MachineFacts.h"
#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int32_t ChunkSize = 8192;
// The tests' pauses between attempts: 20, 40, 80 and 160 ms.
constexpr int32_t PauseUnitMs = 20;
// Wine's first TLS connection in a process takes a second or more.
constexpr int32_t StallTimeoutMs = 5000;

// The bytes the test server sends: byte i is the top byte of i * 2654435761.
std::string pattern(uint32_t count) {
    std::string bytes(count, '\0');
    for (uint32_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>((i * 2654435761u) >> 24);
    return bytes;
}

// The same bytes after the file changed on the server.
std::string changedPattern(uint32_t count) {
    std::string bytes = pattern(count);
    for (char& byte : bytes)
        byte = static_cast<char>(~byte);
    return bytes;
}

std::string fileBytes(const ZString& path) {
    std::ifstream file(toUtf8(path), std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}

// The worker's target follows TMP, which the cases point at a folder of their own, named before
// any case changes TMP.
const ZString testFolder = ZString::format(u"%s\\doxly-download-test-%d", tempFolder(),
                                           static_cast<int>(GetCurrentProcessId()));

class Download : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(testFolder.w_str(), nullptr);
        SetEnvironmentVariableW(L"TMP", testFolder.w_str());
        state_->timing = {PauseUnitMs, StallTimeoutMs};
    }

    void TearDown() override {
        state_->requestStop();
        if (finished()) {
            DownloadLock hold(*state_);
            state_->releaseResult();
        } else {
            state_.release(); // a worker that never ends keeps using the record
        }
        DeleteFileW(target_.w_str());
        RemoveDirectoryW(testFolder.w_str());
    }

    // Polls the record until the condition holds or the time is up.
    template <typename Condition> bool soon(Condition condition) {
        const ULONGLONG deadline = GetTickCount64() + 20000;
        while (!condition(state_->snapshot()) && GetTickCount64() < deadline)
            Sleep(2);
        return condition(state_->snapshot());
    }

    bool finished() {
        return soon([](const DownloadSnapshot& now) { return !now.running; });
    }

    DownloadSnapshot download(const ZString& url) {
        EXPECT_TRUE(startDownload(*state_, url));
        EXPECT_TRUE(finished()) << "the worker did not finish";
        return state_->snapshot();
    }

    // Downloads `url` and counts the times the published byte count went back.
    DownloadSnapshot watch(const ZString& url, int& drops) {
        EXPECT_TRUE(startDownload(*state_, url));
        int32_t last = 0;
        drops = 0;
        soon([&](const DownloadSnapshot& now) {
            drops += now.received < last;
            last = now.received;
            return !now.running;
        });
        return state_->snapshot();
    }

    // The Range and If-Range of each request the server got for `path`, one line each.
    std::string requestsOf(const char16_t* path) {
        download(url(u"/requests") + path);
        return fileBytes(target_);
    }

    // "error received/total" and "target" when the result is the target file.
    std::string outcome(const DownloadSnapshot& done) const {
        return std::to_string(done.error) + " " + std::to_string(done.received) + "/" +
               std::to_string(done.total) + " " +
               (done.resultPath == target_ ? "target" : toUtf8(done.resultPath));
    }

    ZString url(const char16_t* path) const {
        return ZString(_wgetenv(L"DOXLY_TEST_SERVER")) + path;
    }

    const ZString target_ = testFolder + u"\\doxly-creator.exe";
    std::unique_ptr<DownloadState> state_ = std::make_unique<DownloadState>();
};

using Offline = Download;

TEST_F(Download, ServedBodiesArriveWhole) {
    EXPECT_EQ(outcome(download(url(u"/file/300007"))), "0 300007/300007 target");
    EXPECT_EQ(fileBytes(target_), pattern(300007));
    // Without a length, or after a redirect, the same reads fill the file.
    EXPECT_EQ(outcome(download(url(u"/nolength/300007"))), "0 300007/0 target");
    EXPECT_EQ(outcome(download(url(u"/redirect/5000"))), "0 5000/5000 target");
}

// One break of the connection, a busy server, a stall or a server that answers a range
// otherwise: each press ends with the served file, fetched with the requests expected.
TEST_F(Download, ABrokenDownloadContinuesWhereItStoppedOrStartsOver) {
    struct Fault {
        const char16_t* path;
        const char* requests; // a pattern of the Range and If-Range of each
        int restarts;
        bool changed; // the file changed on the server between the requests
    };
    const Fault faults[] = {
        {u"/break/1000000", "- -\nbytes=400000- \"v1\"", 0, false},
        // More breaks than attempts: each attempt that gets further starts the count again.
        {u"/break/1000000?break=100000", "- -(\nbytes=[1-9]00000- \"v1\"){9}", 0, false},
        {u"/break-dated/1000000", "- -\nbytes=400000- Tue, 01 Dec 2026 10:00:00 GMT", 0, false},
        {u"/break-plain/1000000", "- -\n- -", 1, false},
        {u"/busy/1000000", "- -\n- -\n- -", 0, false},
        // Wine holds back the last bytes before the silence, which the range asks for again.
        {u"/stall/1000000", "- -\nbytes=\\d+- \"v1\"", 0, false},
        {u"/ignore-range/1000000", "- -\nbytes=400000- \"v1\"", 1, false},
        {u"/new-etag/1000000", "- -\nbytes=400000- \"v1\"", 1, true},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(toUtf8(fault.path));
        const ULONGLONG started = GetTickCount64();
        int drops = 0;
        const DownloadSnapshot done = watch(url(fault.path), drops);
        const ULONGLONG took = GetTickCount64() - started;
        EXPECT_EQ(outcome(done), "0 1000000/1000000 target");
        EXPECT_TRUE(fileBytes(target_) == (fault.changed ? changedPattern : pattern)(1000000))
            << "the file differs from the one served";
        EXPECT_LE(drops, fault.restarts) << "the count went back without a restart";
        const std::string requests = requestsOf(fault.path);
        EXPECT_TRUE(std::regex_match(requests, std::regex(fault.requests))) << requests;
        if (std::u16string_view(fault.path).starts_with(u"/busy"))
            EXPECT_GE(took, 2000u) << "Retry-After: 1 did not replace the pauses twice";
        else
            EXPECT_LT(took, 15000u) << "the stalled server waits a minute";
    }
}

// Every file under `folder` and its subfolders whose bytes are `bytes`.
std::vector<std::wstring> copiesIn(const std::wstring& folder, const std::string& bytes) {
    std::vector<std::wstring> copies;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return copies;
    do {
        const std::wstring name = found.cFileName;
        const std::wstring path = folder + L"\\" + name;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            const std::vector<std::wstring> inner = copiesIn(path, bytes);
            copies.insert(copies.end(), inner.begin(), inner.end());
        } else if (found.nFileSizeLow == bytes.size() &&
                   fileBytes(ZString(path.c_str())) == bytes) {
            copies.push_back(path);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return copies;
}

TEST_F(Download, TheFinishedFileIsHeldUntilTakenAndNeverCached) {
    // Copies an earlier program left in the prefix's cache must not pass for this download's.
    wchar_t cache[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_INTERNET_CACHE, nullptr, 0, cache), S_OK);
    for (const std::wstring& copy : copiesIn(cache, pattern(300011)))
        DeleteFileW(copy.c_str());

    EXPECT_EQ(outcome(download(url(u"/file/300011"))), "0 300011/300011 target");
    // Readers may look; nobody may change, replace or delete what will be started.
    const HANDLE reader = CreateFileW(target_.w_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);
    const HANDLE writer = CreateFileW(target_.w_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE) << "opened for writing while held";
    if (writer != INVALID_HANDLE_VALUE)
        CloseHandle(writer);
    EXPECT_FALSE(DeleteFileW(target_.w_str())) << "deleted while held";
    EXPECT_FALSE(MoveFileW(target_.w_str(), (target_ + u".moved").w_str())) << "moved while held";

    const HANDLE held = state_->takeResultFile();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(state_->takeResultFile(), INVALID_HANDLE_VALUE) << "handed out twice";
    char head[4] = {};
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(held, head, sizeof head, &read, nullptr) && read == sizeof head);
    EXPECT_EQ(std::string(head, read), pattern(4));
    CloseHandle(held);
    EXPECT_TRUE(DeleteFileW(target_.w_str())) << "still held after its handle was closed";

    // The download writes nothing but its file: no second copy in WinINet's cache.
    EXPECT_EQ(copiesIn(cache, pattern(300011)), std::vector<std::wstring>{}) << "in " << cache;
}

TEST_F(Download, FailuresLeaveNoResult) {
    std::ofstream(toUtf8(target_)) << "left by an earlier attempt";
    EXPECT_EQ(outcome(download(url(u"/missing"))), "5 0/0 ");
    EXPECT_EQ(fileBytes(target_), "<missing>") << "the old file goes before the request";
    EXPECT_EQ(state_->snapshot().attempts, 1);
    EXPECT_EQ(requestsOf(u"/missing"), "- -") << "a missing file is asked for once";
    // No server listens on port 1: the network may come back, so every attempt is made, with
    // 20 + 40 + 80 + 160 ms between them. The legacy addresses once had a blank before the
    // colon, which no attempt mends.
    const ULONGLONG started = GetTickCount64();
    EXPECT_EQ(outcome(download(u"https://localhost:1/file/10")), "4 0/0 ");
    EXPECT_GE(GetTickCount64() - started, 15u * PauseUnitMs);
    EXPECT_EQ(state_->snapshot().attempts, 5);
    EXPECT_EQ(outcome(download(u"https ://" + url(u"/file/10").mid(8))), "4 0/0 ");
    EXPECT_EQ(state_->snapshot().attempts, 0);

    // Every attempt of a body that ends early without a way to continue starts over.
    EXPECT_EQ(outcome(download(url(u"/short/300000"))), "9 150000/300000 ");
    EXPECT_EQ(fileBytes(target_), pattern(150000)) << "the partial file stays";
    EXPECT_EQ(state_->snapshot().attempts, 5);
    EXPECT_EQ(outcome(download(url(u"/file/0"))), "9 0/0 ");
    EXPECT_EQ(outcome(download(url(u"/nolength/0"))), "9 0/0 ");
    EXPECT_EQ(state_->snapshot().attempts, 1) << "an empty body is no better the next time";
    const DownloadSnapshot corrupt = download(url(u"/corrupt/300000"));
    EXPECT_EQ(outcome(corrupt), "6 " + std::to_string(corrupt.received) + "/300000 ");
    EXPECT_LE(corrupt.received, 150000);
    EXPECT_EQ(corrupt.attempts, 5);

    const HANDLE held =
        CreateFileW(target_.w_str(), GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_EQ(outcome(download(url(u"/file/1000"))), "7 0/1000 ");
    EXPECT_EQ(state_->snapshot().attempts, 1);
    CloseHandle(held);
    // CTest's folder whose doxly-creator.exe leads to /dev/full.
    const wchar_t* fullDisk = _wgetenv(L"DOXLY_TEST_FULL_DISK");
    ASSERT_TRUE(fullDisk) << "DOXLY_TEST_FULL_DISK is not set: CTest sets it";
    SetEnvironmentVariableW(L"TMP", fullDisk);
    EXPECT_EQ(outcome(download(url(u"/file/300000"))), "8 0/300000 ");
    EXPECT_EQ(state_->snapshot().attempts, 1);
}

TEST_F(Download, ProgressIsPublishedAndStopEndsTheTransferBeforeTheNextRead) {
    // 4 MB at one chunk per 50 ms would take 25 s.
    ASSERT_TRUE(startDownload(*state_, url(u"/slow/4000000")));
    std::vector<int32_t> seen{0};
    soon([&](const DownloadSnapshot& now) {
        if (seen.back() != now.received) {
            EXPECT_GT(now.received, seen.back());
            EXPECT_EQ(now.total, 4000000);
            seen.push_back(now.received);
        }
        return now.received >= 8 * ChunkSize;
    });
    EXPECT_GE(seen.size(), 5u) << "nearly every chunk should show";
    EXPECT_FALSE(startDownload(*state_, url(u"/file/1000"))) << "a second worker started";
    {
        DownloadLock hold(*state_);
        EXPECT_EQ(state_->url, url(u"/slow/4000000")) << "the second call changed the record";
    }
    state_->requestStop();
    const int32_t atStop = state_->snapshot().received;
    const ULONGLONG stopped = GetTickCount64();
    ASSERT_TRUE(finished());
    EXPECT_LT(GetTickCount64() - stopped, 2000u);
    const DownloadSnapshot done = state_->snapshot();
    EXPECT_EQ(outcome(done), "0 " + std::to_string(done.received) + "/4000000 ");
    EXPECT_LE(done.received - atStop, ChunkSize) << "more than the read under way";

    // The record serves the next attempt, which replaces the stopped one's partial file.
    EXPECT_EQ(outcome(download(url(u"/file/1000"))), "0 1000/1000 target");
    EXPECT_EQ(fileBytes(target_), pattern(1000));
}

TEST_F(Download, StopEndsAPauseAtOnceAndASilentAttemptAtItsTimeout) {
    // Pauses of 10 s; 3 s of silence fail an attempt.
    state_->timing = {10000, 3000};
    const auto stopAfter = [&](ULONGLONG ms) {
        Sleep(300);
        state_->requestStop();
        const ULONGLONG stopped = GetTickCount64();
        EXPECT_TRUE(finished());
        EXPECT_LT(GetTickCount64() - stopped, ms);
        return state_->snapshot();
    };
    // Nothing listens on port 1: the worker pauses after its first attempt.
    ASSERT_TRUE(startDownload(*state_, u"https://localhost:1/file/10"));
    ASSERT_TRUE(soon([](const DownloadSnapshot& now) { return now.attempts == 1; }));
    DownloadSnapshot done = stopAfter(500);
    EXPECT_EQ(outcome(done) + std::to_string(done.attempts), "0 0/0 1");
    // The server sends a tenth of the file and then nothing; the stop waits for no pause.
    ASSERT_TRUE(startDownload(*state_, url(u"/stall/2000000")));
    ASSERT_TRUE(soon([](const DownloadSnapshot& now) { return now.received >= 150000; }));
    done = stopAfter(4000);
    EXPECT_EQ(outcome(done) + std::to_string(done.attempts),
              "0 " + std::to_string(done.received) + "/2000000 1");
}

TEST_F(Offline, NoConnectionFailsBeforeAnyRequest) {
    if (!_wgetenv(L"DOXLY_TEST_OFFLINE"))
        GTEST_SKIP() << "needs a machine without network: download_tests_offline runs it";
    std::ofstream(toUtf8(target_)) << "left by an earlier attempt";
    EXPECT_EQ(outcome(download(u"https://localhost:1/file/10")), "2 0/0 ");
    EXPECT_EQ(state_->snapshot().attempts, 5) << "the network may come back";
    EXPECT_EQ(fileBytes(target_), "<missing>");
}

} // namespace

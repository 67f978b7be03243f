#include "download/DownloadWorker.h"

#include "app/DownloadSource.h"
#include "tests/EnvironmentVariable.h"
#include "tests/base/ZStringPrinter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

// These tests need the HTTPS server of with_https_server.py, which CTest starts around them;
// the Offline cases run in a network namespace without any (download_tests_offline).

namespace {

constexpr int32_t ChunkSize = 8192;
constexpr ULONGLONG ResultTimeoutMs = 20000;

// The byte the test server sends at offset i.
unsigned char patternByte(uint32_t i) {
    return static_cast<unsigned char>((i * 2654435761u) >> 24);
}

std::vector<unsigned char> pattern(uint32_t count) {
    std::vector<unsigned char> bytes(count);
    for (uint32_t i = 0; i < count; ++i)
        bytes[i] = patternByte(i);
    return bytes;
}

std::optional<std::vector<unsigned char>> readFile(const ZString& path) {
    const HANDLE file = CreateFileW(path.w_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::vector<unsigned char> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    const BOOL ok = bytes.empty() ||
                    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    if (!ok || read != bytes.size())
        return std::nullopt;
    return bytes;
}

void writeFile(const ZString& path, const char* text) {
    const HANDLE file =
        CreateFileW(path.w_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(file);
}

bool fileExists(const ZString& path) {
    return GetFileAttributesW(path.w_str()) != INVALID_FILE_ATTRIBUTES;
}

// Each case downloads into a folder of its own: the worker's target follows TMP.
class DownloadTest : public testing::Test {
protected:
    void SetUp() override {
        state_ = std::make_unique<DownloadState>();
        savedTmp_ = environmentVariable(L"TMP");
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        folder_ = ZString(temp) + u"doxly-download-test-";
        folder_.appendNumber(static_cast<int>(GetCurrentProcessId()));
        ASSERT_TRUE(CreateDirectoryW(folder_.w_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
        SetEnvironmentVariableW(L"TMP", folder_.w_str());
        target_ = folder_ + u"\\doxly-creator.exe";
    }

    void TearDown() override {
        state_->requestStop();
        if (!finished(ResultTimeoutMs))
            state_.release(); // a worker that never ends keeps using the record
        DeleteFileW(target_.w_str());
        RemoveDirectoryW(folder_.w_str());
        SetEnvironmentVariableW(L"TMP", savedTmp_ ? savedTmp_->w_str() : nullptr);
    }

    bool finished(ULONGLONG timeoutMs) {
        const ULONGLONG deadline = GetTickCount64() + timeoutMs;
        while (state_->snapshot().running) {
            if (GetTickCount64() > deadline)
                return false;
            Sleep(5);
        }
        return true;
    }

    DownloadSnapshot result() {
        EXPECT_TRUE(finished(ResultTimeoutMs)) << "the worker did not finish";
        return state_->snapshot();
    }

    DownloadSnapshot download(const ZString& url) {
        EXPECT_TRUE(startDownload(*state_, url));
        return result();
    }

    // Waits until the worker has published at least `bytes`.
    void waitForProgress(int32_t bytes) {
        const ULONGLONG deadline = GetTickCount64() + ResultTimeoutMs;
        while (state_->snapshot().received < bytes && GetTickCount64() < deadline)
            Sleep(5);
        ASSERT_GE(state_->snapshot().received, bytes);
    }

    std::optional<ZString> savedTmp_;
    ZString folder_;
    ZString target_;
    std::unique_ptr<DownloadState> state_;
};

class Download : public DownloadTest {
protected:
    void SetUp() override {
        DownloadTest::SetUp();
        const std::optional<ZString> server = environmentVariable(L"DOXLY_TEST_SERVER");
        ASSERT_TRUE(server) << "DOXLY_TEST_SERVER is not set: run through with_https_server.py";
        server_ = *server;
    }

    ZString url(const char16_t* path) const { return server_ + path; }

    ZString server_;
};

TEST_F(Download, WritesExactlyTheServedBytes) {
    const DownloadSnapshot done = download(url(u"/file/300007"));
    EXPECT_EQ(done.error, DownloadOk);
    EXPECT_EQ(done.total, 300007);
    EXPECT_EQ(done.received, 300007);
    EXPECT_EQ(done.resultPath, target_);
    EXPECT_EQ(readFile(target_), pattern(300007));
}

TEST_F(Download, BodyWithoutContentLengthSucceedsWithTotalZero) {
    const DownloadSnapshot done = download(url(u"/nolength/300007"));
    EXPECT_EQ(done.error, DownloadOk);
    EXPECT_EQ(done.total, 0);
    EXPECT_EQ(done.received, 300007);
    EXPECT_EQ(done.resultPath, target_);
    EXPECT_EQ(readFile(target_), pattern(300007));
}

TEST_F(Download, FollowsRedirects) {
    const DownloadSnapshot done = download(url(u"/redirect/5000"));
    EXPECT_EQ(done.error, DownloadOk);
    EXPECT_EQ(done.resultPath, target_);
    EXPECT_EQ(readFile(target_), pattern(5000));
}

TEST_F(Download, ProgressIsPublishedWhileTheBodyArrives) {
    for (const bool announced : {true, false}) {
        SCOPED_TRACE(announced ? "with Content-Length" : "without Content-Length");
        const int32_t size = 12 * ChunkSize + 100;
        ASSERT_TRUE(
            startDownload(*state_, url(announced ? u"/slow/98404" : u"/slow-nolength/98404")));
        std::vector<int32_t> seen;
        DownloadSnapshot now{};
        const ULONGLONG deadline = GetTickCount64() + ResultTimeoutMs;
        do {
            now = state_->snapshot();
            if (now.received > 0) {
                EXPECT_EQ(now.total, announced ? size : 0);
            }
            if (seen.empty() || seen.back() != now.received)
                seen.push_back(now.received);
            Sleep(2);
        } while (now.running && GetTickCount64() < deadline);
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_EQ(now.error, DownloadOk);
        EXPECT_EQ(now.received, size);
        // The slow body comes one chunk per 50 ms, so nearly every chunk shows.
        EXPECT_GE(seen.size(), 6u);
    }
}

TEST_F(Download, RefusedStatusFailsAfterTheOldFileIsGone) {
    writeFile(target_, "left by an earlier attempt");
    const DownloadSnapshot done = download(url(u"/missing"));
    EXPECT_EQ(done.error, DownloadBadStatus);
    EXPECT_EQ(done.resultPath, u"");
    EXPECT_EQ(done.received, 0);
    EXPECT_EQ(done.total, 0);
    EXPECT_FALSE(fileExists(target_));
}

TEST_F(Download, AddressesThatCannotBeOpened) {
    // No server listens on port 1.
    EXPECT_EQ(download(u"https://localhost:1/file/10").error, DownloadOpenUrlFailed);
    // The scheme text the legacy addresses once had: a blank before the colon.
    EXPECT_EQ(download(ZString(u"https ://") + server_.mid(8) + u"/file/10").error,
              DownloadOpenUrlFailed);
    EXPECT_EQ(state_->snapshot().resultPath, u"");
}

TEST_F(Download, BodyCutShortIsIncomplete) {
    const DownloadSnapshot done = download(url(u"/short/300000"));
    EXPECT_EQ(done.error, DownloadIncomplete);
    EXPECT_EQ(done.total, 300000);
    EXPECT_EQ(done.received, 150000);
    EXPECT_EQ(done.resultPath, u"");
    EXPECT_EQ(readFile(target_), pattern(150000)) << "the partial file stays";

    // A reset reads either as the end of the body or as a failed read, depending on whether
    // it overtakes the data still in flight; never as a whole file.
    const DownloadSnapshot reset = download(url(u"/reset/300000"));
    EXPECT_TRUE(reset.error == DownloadIncomplete || reset.error == DownloadReadFailed)
        << reset.error;
    EXPECT_LE(reset.received, 150000);
    EXPECT_EQ(reset.resultPath, u"");
}

TEST_F(Download, EmptyBodyIsIncomplete) {
    for (const char16_t* path : {u"/empty", u"/empty-nolength"}) {
        SCOPED_TRACE(toUtf8(path));
        const DownloadSnapshot done = download(url(path));
        EXPECT_EQ(done.error, DownloadIncomplete);
        EXPECT_EQ(done.received, 0);
        EXPECT_EQ(done.total, 0);
        EXPECT_EQ(done.resultPath, u"");
    }
}

TEST_F(Download, UndecryptableBodyFailsTheRead) {
    const DownloadSnapshot done = download(url(u"/corrupt/300000"));
    EXPECT_EQ(done.error, DownloadReadFailed);
    EXPECT_EQ(done.total, 300000);
    EXPECT_LE(done.received, 150000);
    EXPECT_EQ(done.received % ChunkSize, 0) << "only whole chunks arrived before the failure";
    EXPECT_EQ(done.resultPath, u"");
}

TEST_F(Download, TargetHeldOpenWithoutSharingCannotBeCreated) {
    const HANDLE held =
        CreateFileW(target_.w_str(), GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const DownloadSnapshot done = download(url(u"/file/1000"));
    CloseHandle(held);
    EXPECT_EQ(done.error, DownloadCreateFileFailed);
    EXPECT_EQ(done.total, 1000);
    EXPECT_EQ(done.received, 0);
    EXPECT_EQ(done.resultPath, u"");
}

TEST_F(Download, FullDiskFailsTheWrite) {
    const std::optional<ZString> fullDisk = environmentVariable(L"DOXLY_TEST_FULL_DISK");
    ASSERT_TRUE(fullDisk) << "DOXLY_TEST_FULL_DISK is not set: CTest sets it";
    SetEnvironmentVariableW(L"TMP", fullDisk->w_str());
    const DownloadSnapshot done = download(url(u"/file/300000"));
    EXPECT_EQ(done.error, DownloadWriteFailed);
    EXPECT_EQ(done.total, 300000);
    EXPECT_EQ(done.received, 0);
    EXPECT_EQ(done.resultPath, u"");
}

TEST_F(Download, StopEndsTheTransferBeforeTheNextRead) {
    // 4 MB at one chunk per 50 ms would take 25 s.
    ASSERT_TRUE(startDownload(*state_, url(u"/slow/4000000")));
    waitForProgress(3 * ChunkSize);
    state_->requestStop();
    const int32_t atStop = state_->snapshot().received;
    const ULONGLONG stopped = GetTickCount64();
    const DownloadSnapshot done = result();
    EXPECT_LT(GetTickCount64() - stopped, 2000u);
    EXPECT_EQ(done.error, DownloadOk);
    EXPECT_EQ(done.resultPath, u"");
    EXPECT_EQ(done.total, 4000000);
    EXPECT_LE(done.received - atStop, ChunkSize) << "more than the read under way";
}

TEST_F(Download, NoSecondWorkerWhileOneRuns) {
    ASSERT_TRUE(startDownload(*state_, url(u"/slow/4000000")));
    waitForProgress(1);
    EXPECT_FALSE(startDownload(*state_, url(u"/file/1000")));
    {
        DownloadLock hold(*state_);
        EXPECT_TRUE(state_->running);
        EXPECT_EQ(state_->url, url(u"/slow/4000000"));
        EXPECT_GT(state_->received, 0);
    }
    state_->requestStop();
    EXPECT_EQ(result().error, DownloadOk);

    // The record serves the next attempt, which replaces the stopped one's partial file.
    const DownloadSnapshot retry = download(url(u"/file/1000"));
    EXPECT_EQ(retry.error, DownloadOk);
    EXPECT_EQ(retry.resultPath, target_);
    EXPECT_EQ(readFile(target_), pattern(1000));
}

class Offline : public DownloadTest {};

TEST_F(Offline, NoConnectionFailsBeforeAnyRequest) {
    if (!environmentVariable(L"DOXLY_TEST_OFFLINE"))
        GTEST_SKIP() << "needs a machine without network: download_tests_offline runs it";
    writeFile(target_, "left by an earlier attempt");
    const DownloadSnapshot done = download(u"https://localhost:1/file/10");
    EXPECT_EQ(done.error, DownloadNotConnected);
    EXPECT_EQ(done.received, 0);
    EXPECT_EQ(done.total, 0);
    EXPECT_EQ(done.resultPath, u"");
    EXPECT_FALSE(fileExists(target_));
}

} // namespace

// demo-setup: stands in for the full setup program that the installer downloads and starts. It
// appends its arguments, as Windows passes them (the command line after the program name), as
// one UTF-8 line to the file named by DOXLY_DEMO_SETUP_LOG, or shows them in a message box when
// that variable is not set. Exits with 0.

#include <windows.h>

#include <string>

namespace {

std::wstring environmentVariable(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    bytes.pop_back();
    return bytes;
}

// Appends, so that every start of the setup leaves its own line.
void appendLine(const std::wstring& path, const std::string& line) {
    const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string bytes = line + "\n";
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    const std::wstring log = environmentVariable(L"DOXLY_DEMO_SETUP_LOG");
    if (log.empty())
        MessageBoxW(nullptr, arguments, L"Doxly Creator setup (demo)", MB_OK);
    else
        appendLine(log, utf8(arguments));
    return 0;
}

#pragma once
// Helpers shared by the test programs: temporary folders, registry clean-up, files.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace test {

// The bound for waits on a positive signal. Generous on purpose: a wait that succeeds ends as
// soon as the signal comes, and the tests run on busy machines where Wine is slow.
constexpr DWORD kPatientMs = 60000;

// "error 5 (Access is denied.)": a system error code with the system's text for it.
std::string SystemErrorText(DWORD error);
// Records a test failure naming the step that failed and its system error.
void ReportSystemError(const std::string& step, DWORD error);
// Narrow text of a wide string for test messages (characters outside ASCII become '?').
std::string Narrow(const std::wstring& text);

// A fresh folder under %TEMP%, removed with its content when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

void RemoveTree(const std::wstring& path);
bool FileExists(const std::wstring& path);
std::vector<uint8_t> ReadFileBytes(const std::wstring& path);
// Both report the system error of a failed step as a test failure.
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);
bool WriteTextFile(const std::wstring& path, const std::string& utf8);

// The product's registry key, removed entirely (for tests that start from an empty registry).
constexpr wchar_t kProductKey[] = L"Software\\Tarvo\\Lark-RunBar";
void DeleteProductKey();
// Raw registry writes for setting up unusual stored values (failures are reported).
void WriteRegDword(const std::wstring& subkey, const wchar_t* name, DWORD value);
void WriteRegRaw(const std::wstring& subkey, const wchar_t* name, DWORD type, const void* data,
                 DWORD size);
bool ReadRegDwordValue(const std::wstring& subkey, const wchar_t* name, DWORD& value);

// Folder of the running test program (LarkB.exe and helper programs are built beside it).
std::wstring ExeFolder();

// Pumps this thread's messages for the given time.
void PumpMessages(DWORD milliseconds);
// Waits up to `timeoutMs`, pumping messages, until `condition()` holds.
template <class F> bool WaitUntil(F condition, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount64() >= end)
            return false;
        PumpMessages(20);
    }
}

} // namespace test

#include "platform/win32/Win32Platform.h"

#include "platform/RealSleeper.h"
#include "platform/win32/Win32FolderBrowser.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32PrinterStatus.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32Spooler.h"

#include <windows.h>

#include <climits>

namespace quenyx::platform::win32 {

namespace {

std::wstring Widen(std::string_view bytes, UINT codePage)
{
    if (bytes.empty() || bytes.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(bytes.size());
    const int wide = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (wide <= 0)
        return {};
    std::wstring out(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, out.data(), wide);
    return out;
}

std::string Narrow(std::wstring_view text, UINT codePage)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int narrow = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0)
        return {};
    std::string out(static_cast<std::size_t>(narrow), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), length, out.data(), narrow, nullptr, nullptr);
    return out;
}

SYSTEMTIME ToSystemTime(const LocalTime& t)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    return st;
}

// Both format calls take the same arguments: ask for the size, then fill.
template <typename Format> std::string Formatted(Format format)
{
    const int size = format(nullptr, 0);
    if (size <= 0)
        return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    const int written = format(text.data(), size);
    if (written <= 0)
        return {};
    text.resize(static_cast<std::size_t>(written - 1)); // less the NUL
    return FromAnsi(text);
}

class Win32Clock final : public Clock
{
public:
    LocalTime Now() override
    {
        SYSTEMTIME st{};
        GetLocalTime(&st);
        return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
    }

    // A time Windows refuses to format (out of range) still gets a text, in the default pictures.
    std::string ShortDate(const LocalTime& t) override
    {
        const SYSTEMTIME st = ToSystemTime(t);
        std::string text = Formatted([&st](char* buffer, int size) {
            return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, size);
        });
        return text.empty() ? FormatPicture(kDefaultShortDatePicture, t) : text;
    }

    std::string TimeOfDay(const LocalTime& t) override
    {
        const SYSTEMTIME st = ToSystemTime(t);
        std::string text = Formatted([&st](char* buffer, int size) {
            return GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, size);
        });
        return text.empty() ? FormatPicture(kDefaultTimePicture, t) : text;
    }
};

class Win32Files final : public Files
{
public:
    std::filesystem::path HostPath(std::string_view windowsPath) override
    {
        return std::filesystem::path(Widen(windowsPath, CP_UTF8));
    }
    std::string ToAnsi(std::string_view text) override { return win32::ToAnsi(text); }
    std::string FromAnsi(std::string_view bytes) override { return win32::FromAnsi(bytes); }
};

} // namespace

std::string ToAnsi(std::string_view text)
{
    return Narrow(Widen(text, CP_UTF8), CP_ACP);
}

std::string FromAnsi(std::string_view bytes)
{
    return Narrow(Widen(bytes, CP_ACP), CP_UTF8);
}

Platform MakePlatform()
{
    Platform platform;
    platform.registry = std::make_shared<Win32Registry>();
    platform.clock = std::make_shared<Win32Clock>();
    platform.files = std::make_shared<Win32Files>();
    platform.spooler = std::make_shared<Win32Spooler>();
    platform.printerStatus = std::make_shared<Win32PrinterStatus>();
    platform.services = std::make_shared<Win32ServiceControl>();
    platform.processes = std::make_shared<Win32ProcessLauncher>();
    platform.sleeper = std::make_shared<RealSleeper>();
    platform.folderBrowser = std::make_shared<Win32FolderBrowser>();
    return platform;
}

} // namespace quenyx::platform::win32

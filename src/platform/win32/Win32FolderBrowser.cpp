#include "platform/win32/Win32FolderBrowser.h"

#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <cstring>
#include <memory>

namespace quenyx::platform::win32 {

namespace {

struct TaskMemFree
{
    void operator()(ITEMIDLIST* item) const { CoTaskMemFree(item); }
};

// The browser needs COM in a single-threaded apartment; the GUI thread usually has one already, and then
// this neither changes nor ends it.
class ComApartment final
{
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment()
    {
        if (initialised_)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

} // namespace

std::string Win32FolderBrowser::BrowseForFolder()
{
    const ComApartment apartment;
    BROWSEINFOA info{};
    const std::unique_ptr<ITEMIDLIST, TaskMemFree> item(SHBrowseForFolderA(&info));
    if (!item)
        return {};
    char buffer[MAX_PATH] = {};
    // A virtual folder (the network neighbourhood, the printers) has no file-system path.
    if (!SHGetPathFromIDListA(item.get(), buffer))
        return {};
    return FromAnsi(std::string(buffer, strnlen(buffer, MAX_PATH)));
}

} // namespace quenyx::platform::win32

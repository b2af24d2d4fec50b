#include "platform/LibraryTextCatalog.h"

#include "resources/catalog/Polyglossa32.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <tuple>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace quenyx::platform {

namespace {

#ifdef _WIN32
constexpr const char* kLibraryName = "Polyglossa32.dll";
#else
constexpr const char* kLibraryName = "libPolyglossa32.so";
#endif

std::filesystem::path ExecutableFolder()
{
#ifdef _WIN32
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (size == 0)
            return {};
        if (size < path.size()) {
            path.resize(size);
            break;
        }
        path.resize(path.size() * 2);
    }
    return std::filesystem::path(path).parent_path();
#else
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : path.parent_path();
#endif
}

std::string Display(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

} // namespace

// An open library, closed again when the catalog goes.
class LibraryTextCatalog::Module
{
public:
    // A bare file name is looked for the platform's way; a path is loaded as it is.
    static std::unique_ptr<Module> Load(const std::filesystem::path& file, std::string& error)
    {
#ifdef _WIN32
        // A full path also lets the library's own DLLs be found beside it.
        HMODULE handle = file.has_parent_path() ? LoadLibraryExW(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)
                                                : LoadLibraryA(file.string().c_str());
        if (!handle) {
            error = Display(file) + ": erro " + std::to_string(GetLastError());
            return nullptr;
        }
#else
        // Never unmapped once loaded: the library brings its own Qt, whose globals do not survive an unload
        // (what they still point to would be lost, and reported as leaked).
        void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (!handle) {
            const char* reason = dlerror();
            error = reason ? reason : Display(file);
            return nullptr;
        }
#endif
        return std::unique_ptr<Module>(new Module(handle, Display(file)));
    }

    ~Module()
    {
#ifdef _WIN32
        FreeLibrary(handle_);
#else
        dlclose(handle_);
#endif
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    template <typename Function> Function Resolve(const char* name) const
    {
#ifdef _WIN32
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle_, name)));
#else
        return reinterpret_cast<Function>(dlsym(handle_, name));
#endif
    }

    const std::string& file() const
    {
        return file_;
    }

private:
#ifdef _WIN32
    using Handle = HMODULE;
#else
    using Handle = void*;
#endif
    Module(Handle handle, std::string file) : handle_(handle), file_(std::move(file)) {}
    Handle handle_;
    std::string file_;
};

struct LibraryTextCatalog::Functions
{
    Polyglossa32LoadResources loadResources = nullptr;
    Polyglossa32GetString getString = nullptr;
};

std::shared_ptr<LibraryTextCatalog> LibraryTextCatalog::Open(std::string& error)
{
    auto module = Module::Load(kLibraryName, error);
    if (!module) {
        const std::filesystem::path beside = ExecutableFolder() / kLibraryName;
        std::error_code ec;
        if (beside.has_parent_path() && std::filesystem::exists(beside, ec))
            module = Module::Load(beside, error);
    }
    return module ? FromModule(std::move(module), error) : nullptr;
}

std::shared_ptr<LibraryTextCatalog> LibraryTextCatalog::OpenFile(const std::string& path, std::string& error)
{
    // A path without a folder would otherwise be searched for by name.
    std::error_code ec;
    std::filesystem::path file = std::filesystem::absolute(path, ec);
    if (ec)
        file = path;
    auto module = Module::Load(file, error);
    return module ? FromModule(std::move(module), error) : nullptr;
}

std::shared_ptr<LibraryTextCatalog> LibraryTextCatalog::FromModule(std::unique_ptr<Module> module, std::string& error)
{
    auto functions = std::make_unique<Functions>();
    functions->loadResources = module->Resolve<Polyglossa32LoadResources>("LoadResources");
    functions->getString = module->Resolve<Polyglossa32GetString>("GetString");
    const char* missing = !functions->loadResources ? "LoadResources" : !functions->getString ? "GetString" : nullptr;
    if (missing) {
        error = module->file() + ": sem a função " + missing;
        return nullptr;
    }
    error.clear();
    return std::shared_ptr<LibraryTextCatalog>(new LibraryTextCatalog(std::move(module), std::move(functions)));
}

LibraryTextCatalog::LibraryTextCatalog(std::unique_ptr<Module> module, std::unique_ptr<Functions> functions)
    : module_(std::move(module)), functions_(std::move(functions))
{
}

LibraryTextCatalog::~LibraryTextCatalog() = default;

void LibraryTextCatalog::LoadResources(const std::u16string& product)
{
    // The library says whether it has a catalog, but a lookup that finds nothing says the same.
    std::ignore = functions_->loadResources(product.c_str());
}

std::int32_t LibraryTextCatalog::GetString(const std::u16string& key, char16_t* buffer, std::int32_t length)
{
    return functions_->getString(key.c_str(), buffer, length);
}

} // namespace quenyx::platform

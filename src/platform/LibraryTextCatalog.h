#pragma once

#include "platform/TextCatalog.h"

#include <memory>
#include <string>

namespace quenyx::platform {

// The text catalog of the Polyglossa32 library, loaded at run time: the core does not link it, so it stays
// free of Qt and works on without one.
class LibraryTextCatalog final : public TextCatalog
{
public:
    // The library by name, found the platform's usual way (an installed agent's copy wins), else the one
    // beside the running executable. Null, with `error` saying why, when none loads or a function is missing.
    static std::shared_ptr<LibraryTextCatalog> Open(std::string& error);
    // The library file at `path`.
    static std::shared_ptr<LibraryTextCatalog> OpenFile(const std::string& path, std::string& error);

    ~LibraryTextCatalog() override;
    LibraryTextCatalog(const LibraryTextCatalog&) = delete;
    LibraryTextCatalog& operator=(const LibraryTextCatalog&) = delete;

    void LoadResources(const std::u16string& product) override;
    std::int32_t GetString(const std::u16string& key, char16_t* buffer, std::int32_t length) override;

private:
    class Module;
    struct Functions;
    LibraryTextCatalog(std::unique_ptr<Module> module, std::unique_ptr<Functions> functions);
    static std::shared_ptr<LibraryTextCatalog> FromModule(std::unique_ptr<Module> module, std::string& error);

    std::unique_ptr<Module> module_;
    std::unique_ptr<Functions> functions_;
};

} // namespace quenyx::platform

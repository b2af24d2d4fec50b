#include "platform/EnglishCatalog.h"

#include <map>

namespace quenyx::platform {

namespace {

// The text between `open` and `close` after `from`, moving `from` past it; false when there is none.
bool Take(std::string_view source, std::string_view open, std::string_view close, std::size_t& from,
          std::string_view& text)
{
    const std::size_t start = source.find(open, from);
    if (start == std::string_view::npos)
        return false;
    const std::size_t end = source.find(close, start + open.size());
    if (end == std::string_view::npos)
        return false;
    text = source.substr(start + open.size(), end - start - open.size());
    from = end + close.size();
    return true;
}

std::string Unescaped(std::string_view text)
{
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool replaced = false;
        for (const auto& [entity, c] : kEntities) {
            if (text.substr(i, entity.size()) == entity) {
                out.push_back(c);
                i += entity.size() - 1;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            out.push_back(text[i]);
    }
    return out;
}

const std::map<std::string, std::string, std::less<>>& Texts()
{
    static const auto texts = CatalogTexts(EnglishCatalogSource());
    return texts;
}

} // namespace

std::map<std::string, std::string, std::less<>> CatalogTexts(std::string_view source)
{
    std::map<std::string, std::string, std::less<>> map;
    std::size_t at = 0;
    std::string_view message;
    while (Take(source, "<message>", "</message>", at, message)) {
        std::size_t inner = 0;
        std::string_view key, text;
        if (Take(message, "<source>", "</source>", inner, key) &&
            Take(message, "<translation>", "</translation>", inner, text))
            map.emplace(Unescaped(key), Unescaped(text));
    }
    return map;
}

std::string EnglishText(std::string_view key)
{
    const auto& texts = Texts();
    const auto found = texts.find(key);
    return found == texts.end() ? std::string() : found->second;
}

} // namespace quenyx::platform

#pragma once

#include "platform/FolderBrowser.h"

#include <string>

namespace quenyx::test {

// Answers the next question with `nextAnswer` and counts the questions.
class FakeFolderBrowser final : public platform::FolderBrowser
{
public:
    std::string nextAnswer;
    int asked = 0;
    std::string BrowseForFolder() override { return ++asked, nextAnswer; }
};

} // namespace quenyx::test

#include "TestMachine.h"

#include <gtest/gtest.h>

namespace quenyx::test {

void TestMachine::MakeKey(const std::string& relative)
{
    ASSERT_EQ(Admin().CreateKey(Key(relative)), 0) << relative;
}

void TestMachine::SetString(const std::string& relative, const std::string& name, const std::string& bytes)
{
    SetRaw(relative, name, platform::reg_type::String, bytes);
}

void TestMachine::SetRaw(const std::string& relative, const std::string& name, std::uint32_t type,
                         const std::string& bytes)
{
    ASSERT_EQ(Admin().SetRawValue(Key(relative), platform::RawValue{name, type, bytes}), 0) << relative << " " << name;
}

} // namespace quenyx::test

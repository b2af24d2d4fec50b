// The spooler and the printer status component as the Win32 backend reaches them. The Windows stage's
// prefix has no printers and no agent, so the real calls show the failure paths; the call into the component
// itself is checked against an IDispatch of the test's own.
#include "TestMachine.h"

#include "platform/mod_Trace.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32PrinterStatus.h"
#include "platform/win32/Win32Spooler.h"
#include "printers/mod_Printers.h"

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

// winspool.h makes OpenPrinter stand for OpenPrinterA; here it is the seam's own method.
#undef OpenPrinter

namespace quenyx {
namespace {

using platform::StatusAnswer;
using platform::win32::CallGetPrinterStatus;
using platform::win32::ToBoolean;
using printers::printers;

template <typename Case> std::string Label(const ::testing::TestParamInfo<Case>& each)
{
    return each.param.label;
}

class UnknownPrinter : public ::testing::TestWithParam<std::string>
{
};

TEST_P(UnknownPrinter, CannotBeOpenedButIsListedForACluster)
{
    const auto machine = test::TestMachine::Create();
    platform::Current().spooler = platform::win32::MakePlatform().spooler;
    EXPECT_EQ(platform::Current().spooler->OpenPrinter(GetParam()), nullptr);
    EXPECT_FALSE(mod_Printers::ExistPrinter(GetParam(), ""));
    EXPECT_TRUE(mod_Printers::ExistPrinter(GetParam(), "HPSRV"));
}

// "0" is what the search is given for a spooler key without printers.
INSTANTIATE_TEST_SUITE_P(Names, UnknownPrinter,
                         ::testing::Values(std::string("Quenyx No Such Printer"), std::string("0"),
                                           std::string("Impress\xC3\xA3o Fantasma")));

struct ResultCase
{
    const char* label;
    VARTYPE type;
    LONG number; // for the numeric types
    const wchar_t* text;
    bool expected;
    friend void PrintTo(const ResultCase& each, std::ostream* out) { *out << each.label; }
};

class Result : public ::testing::TestWithParam<ResultCase>
{
};

TEST_P(Result, CountsAsTrueOnlyWhenItConvertsToTrue)
{
    const ResultCase& each = GetParam();
    VARIANT result;
    VariantInit(&result);
    result.vt = each.type;
    if (each.type == VT_BOOL)
        result.boolVal = static_cast<VARIANT_BOOL>(each.number);
    else if (each.type == VT_I2)
        result.iVal = static_cast<SHORT>(each.number);
    else if (each.type == VT_I4)
        result.lVal = each.number;
    else if (each.type == VT_BSTR)
        result.bstrVal = SysAllocString(each.text);
    EXPECT_EQ(ToBoolean(result), each.expected);
    std::ignore = VariantClear(&result);
}

const ResultCase kResultCases[] = {
    {"True", VT_BOOL, VARIANT_TRUE, nullptr, true},
    {"False", VT_BOOL, VARIANT_FALSE, nullptr, false},
    {"BoolOne", VT_BOOL, 1, nullptr, true},
    {"LongZero", VT_I4, 0, nullptr, false},
    {"LongOne", VT_I4, 1, nullptr, true},
    {"LongMinusTwo", VT_I4, -2, nullptr, true},
    {"IntegerMinusOne", VT_I2, -1, nullptr, true},
    {"Empty", VT_EMPTY, 0, nullptr, false},
    {"Null", VT_NULL, 0, nullptr, false},
    {"TextTrue", VT_BSTR, 0, L"True", true},
    {"TextOne", VT_BSTR, 0, L"1", true},
    {"TextZero", VT_BSTR, 0, L"0", false},
    {"TextWord", VT_BSTR, 0, L"yes", false},
    {"TextEmpty", VT_BSTR, 0, L"", false},
};
INSTANTIATE_TEST_SUITE_P(Variants, Result, ::testing::ValuesIn(kResultCases), Label<ResultCase>);

// An automation object with the one method, answering as the test says and keeping what it was given. COM
// objects are never deleted through their interfaces, which therefore have no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class ScriptedComponent final : public IDispatch
{
public:
    static constexpr DISPID kMethod = 7;

    bool knowsMethod = true;
    HRESULT invokeResult = S_OK;
    VARIANT_BOOL answer = VARIANT_TRUE;
    std::optional<LONG> writes;

    std::wstring askedName;
    WORD flags = 0;
    UINT argumentCount = 0;
    UINT namedCount = 0;
    std::vector<VARTYPE> types; // first argument first
    SHORT id = 0;
    std::wstring fullName;
    LONG statusIn = -1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid != IID_IUnknown && iid != IID_IDispatch) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        askedName = count == 1 ? names[0] : L"";
        if (!knowsMethod || askedName != L"GetPrinterStatus") {
            ids[0] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        ids[0] = kMethod;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD how, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override
    {
        if (member != kMethod)
            return DISP_E_MEMBERNOTFOUND;
        flags = how;
        argumentCount = params->cArgs;
        namedCount = params->cNamedArgs;
        for (UINT i = params->cArgs; i-- > 0;)
            types.push_back(params->rgvarg[i].vt);
        if (params->cArgs == 3 && types == std::vector<VARTYPE>{VT_I2, VT_BSTR, VT_I4 | VT_BYREF}) {
            id = params->rgvarg[2].iVal;
            fullName.assign(params->rgvarg[1].bstrVal, SysStringLen(params->rgvarg[1].bstrVal));
            statusIn = *params->rgvarg[0].plVal;
            if (writes)
                *params->rgvarg[0].plVal = *writes;
        }
        if (FAILED(invokeResult)) {
            if (invokeResult == DISP_E_EXCEPTION && exception) {
                exception->bstrSource = SysAllocString(L"PrinterStatusProvider");
                exception->bstrDescription = SysAllocString(L"the agent does not answer");
            }
            return invokeResult;
        }
        if (result) {
            result->vt = VT_BOOL;
            result->boolVal = answer;
        }
        return S_OK;
    }

    ULONG references = 1;
};
#pragma GCC diagnostic pop

struct CallCase
{
    const char* label;
    bool knowsMethod;
    HRESULT invokeResult;
    VARIANT_BOOL answer;
    std::optional<LONG> writes;
    StatusAnswer expected;
    std::int32_t status; // as the caller finds it afterwards, having passed -9
    friend void PrintTo(const CallCase& each, std::ostream* out) { *out << each.label; }
};

class Call : public ::testing::TestWithParam<CallCase>
{
};

TEST_P(Call, PassesTheArgumentsAndReadsTheAnswer)
{
    const CallCase& each = GetParam();
    ScriptedComponent component;
    component.knowsMethod = each.knowsMethod;
    component.invokeResult = each.invokeResult;
    component.answer = each.answer;
    component.writes = each.writes;

    std::int32_t status = -9;
    EXPECT_EQ(CallGetPrinterStatus(component, -1234, "\\\\HPSRV\\Impress\xC3\xA3o", status), each.expected);
    EXPECT_EQ(status, each.status);
    EXPECT_EQ(component.askedName, L"GetPrinterStatus");
    EXPECT_EQ(component.references, 1u);
    if (!each.knowsMethod)
        return;
    EXPECT_EQ(component.flags, DISPATCH_METHOD);
    EXPECT_EQ(component.argumentCount, 3u);
    EXPECT_EQ(component.namedCount, 0u);
    EXPECT_EQ(component.types, (std::vector<VARTYPE>{VT_I2, VT_BSTR, VT_I4 | VT_BYREF}));
    EXPECT_EQ(component.id, -1234);
    EXPECT_EQ(component.fullName, L"\\\\HPSRV\\Impress\u00E3o");
    EXPECT_EQ(component.statusIn, 0);
}

const CallCase kCallCases[] = {
    {"AnswersWithACode", true, S_OK, VARIANT_TRUE, 3, StatusAnswer::Answered, 3},
    {"AnswersLeavingTheCode", true, S_OK, VARIANT_TRUE, std::nullopt, StatusAnswer::Answered, 0},
    {"DoesNotAnswer", true, S_OK, VARIANT_FALSE, 3, StatusAnswer::NotAnswered, -9},
    {"RaisesAnError", true, DISP_E_EXCEPTION, VARIANT_TRUE, 3, StatusAnswer::Failed, -9},
    {"RejectsTheArguments", true, DISP_E_TYPEMISMATCH, VARIANT_TRUE, std::nullopt, StatusAnswer::Failed, -9},
    {"HasNoSuchMethod", false, S_OK, VARIANT_TRUE, 3, StatusAnswer::Failed, -9},
};
INSTANTIATE_TEST_SUITE_P(Components, Call, ::testing::ValuesIn(kCallCases), Label<CallCase>);

struct ProgIdCase
{
    const char* label;
    const char* progId;
    friend void PrintTo(const ProgIdCase& each, std::ostream* out) { *out << each.label; }
};

class MissingComponent : public ::testing::TestWithParam<ProgIdCase>
{
};

// Scripting.FileSystemObject is registered wherever Windows scripting is, and has no GetPrinterStatus.
TEST_P(MissingComponent, FailsWithoutTouchingTheStatus)
{
    platform::win32::Win32PrinterStatus component(GetParam().progId);
    std::int32_t status = 5;
    EXPECT_EQ(component.GetPrinterStatus(12, "HP1", status), StatusAnswer::Failed);
    EXPECT_EQ(status, 5);
}

const ProgIdCase kProgIdCases[] = {
    {"TheAgentsNotInstalled", platform::win32::kPrinterStatusProgId},
    {"WithoutTheMethod", "Scripting.FileSystemObject"},
    {"NoProgId", ""},
};
INSTANTIATE_TEST_SUITE_P(ProgIds, MissingComponent, ::testing::ValuesIn(kProgIdCases), Label<ProgIdCase>);

// The call may find COM not started, or started by its caller in either model; it must leave the thread's
// apartment as it was: a second CoInitializeEx in the other model tells which one the thread is in.
struct ApartmentCase
{
    const char* label;
    std::optional<DWORD> before;
    friend void PrintTo(const ApartmentCase& each, std::ostream* out) { *out << each.label; }
};

class Apartment : public ::testing::TestWithParam<ApartmentCase>
{
};

TEST_P(Apartment, IsLeftAsTheCallFoundIt)
{
    const std::optional<DWORD> before = GetParam().before;
    if (before) {
        ASSERT_EQ(CoInitializeEx(nullptr, *before), S_OK);
    }
    platform::win32::Win32PrinterStatus component("Scripting.FileSystemObject");
    std::int32_t status = 0;
    EXPECT_EQ(component.GetPrinterStatus(1, "HP1", status), StatusAnswer::Failed);

    if (before) {
        const DWORD other = *before == COINIT_MULTITHREADED ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED;
        EXPECT_EQ(CoInitializeEx(nullptr, other), RPC_E_CHANGED_MODE);
        CoUninitialize();
    }
    // Now COM must be off on this thread, whichever model is asked for.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
}

const ApartmentCase kApartmentCases[] = {
    {"NotStarted", std::nullopt},
    {"SingleThreaded", COINIT_APARTMENTTHREADED},
    {"MultiThreaded", COINIT_MULTITHREADED},
};
INSTANTIATE_TEST_SUITE_P(Threads, Apartment, ::testing::ValuesIn(kApartmentCases), Label<ApartmentCase>);

class Win32Discovery : public ::testing::Test
{
protected:
    void SetUp() override
    {
        machine = test::TestMachine::Create();
        const platform::Platform host = platform::win32::MakePlatform();
        platform::Current().spooler = host.spooler;
        platform::Current().printerStatus = host.printerStatus;
        printers().Clear();
        machine->MakeKey("Printers");
        for (const auto& [name, id] : {std::pair{"A", "1"}, std::pair{"B", "2"}}) {
            machine->MakeKey(std::string("Printers\\") + name);
            machine->SetString(std::string("Printers\\") + name, "TessalineID", std::string(id) + '\0');
        }
        mod_Trace::SetTraceSettings("1", machine->Folder());
    }
    void TearDown() override
    {
        printers().Clear();
        mod_Trace::ResetTraceSettings();
    }

    std::string Log()
    {
        std::ifstream in(machine->HostPath(machine->Folder() + "\\VeltrinAdmin_03122026.log"), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static std::size_t Count(const std::string& text, const std::string& part)
    {
        std::size_t count = 0;
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++count;
        return count;
    }

    std::unique_ptr<test::TestMachine> machine;
};

TEST_F(Win32Discovery, WithoutTheComponentClusterPrintersAreListedUnflaggedAndOnlyTheFirstIsAskedAbout)
{
    EXPECT_TRUE(mod_Printers::SearchPrinters(machine->Key("Printers"), "HPSRV"));
    ASSERT_EQ(printers().Count(), 2);
    for (const auto& printer : printers()) {
        EXPECT_FALSE(printer->serverDisabled()) << printer->printerName();
        EXPECT_FALSE(printer->localDisabled()) << printer->printerName();
    }
    const std::string log = Log();
    EXPECT_EQ(Count(log, "[Printers]  - start: "), 1u);
    EXPECT_EQ(Count(log, "[Printers]  - erro no EditPrinter\r\n"), 1u);
    EXPECT_EQ(Count(log, "[SearchPrinters]  - adicionando => HPSRV "), 2u);

    EXPECT_FALSE(mod_Printers::EditPrinter(*printers().Item(2)));
    EXPECT_FALSE(printers().Item(2)->serverDisabled());
    EXPECT_FALSE(printers().Item(2)->localDisabled());
}

} // namespace
} // namespace quenyx

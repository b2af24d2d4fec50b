// The spooler and the printer status component as the Win32 backend reaches them. The Windows stage's
// prefix has no printers and no agent, so the real calls show the failure paths; the call into the component
// itself is checked against an IDispatch of the test's own.
#include "TestMachine.h"

#include "platform/mod_Trace.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32PrinterStatus.h"
#include "printers/mod_Printers.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>

// winspool.h makes OpenPrinter stand for OpenPrinterA; here it is the seam's own method.
#undef OpenPrinter

namespace quenyx {
namespace {

using platform::StatusAnswer;
using platform::win32::CallGetPrinterStatus;
using printers::printers;

TEST(Win32Spooler, AnUnknownPrinterCannotBeOpenedButIsListedForACluster)
{
    const auto machine = test::TestMachine::Create();
    platform::Current().spooler = platform::win32::MakePlatform().spooler;
    // "0" is what the search is given for a spooler key without printers.
    for (const std::string name : {"Quenyx No Such Printer", "0", "Impress\xC3\xA3o Fantasma"}) {
        EXPECT_EQ(platform::Current().spooler->OpenPrinter(name), nullptr) << name;
        EXPECT_FALSE(mod_Printers::ExistPrinter(name, "")) << name;
        EXPECT_TRUE(mod_Printers::ExistPrinter(name, "HPSRV")) << name;
    }
}

TEST(Win32PrinterStatus, AResultCountsAsTrueOnlyWhenItConvertsToTrue)
{
    // The type, the number or text held, and whether it counts as true; VARIANT_TRUE is -1.
    const std::tuple<VARTYPE, LONG, const wchar_t*, bool> cases[] = {
        {VT_BOOL, -1, L"", true}, {VT_BOOL, 0, L"", false},  {VT_I4, 0, L"", false},      {VT_I4, -2, L"", true},
        {VT_I2, -1, L"", true},   {VT_EMPTY, 0, L"", false}, {VT_NULL, 0, L"", false},    {VT_BSTR, 0, L"True", true},
        {VT_BSTR, 0, L"1", true}, {VT_BSTR, 0, L"0", false}, {VT_BSTR, 0, L"yes", false}, {VT_BSTR, 0, L"", false}};
    for (const auto& [type, number, text, expected] : cases) {
        VARIANT result{};
        result.vt = type;
        result.lVal = number; // a VT_BOOL's boolVal and a VT_I2's iVal are its low half
        if (type == VT_BSTR)
            result.bstrVal = SysAllocString(text);
        EXPECT_EQ(platform::win32::ToBoolean(result), expected) << type << ' ' << number << ' ' << text;
        std::ignore = VariantClear(&result);
    }
}

// An automation object with the one method, answering as the test says and writing down how it was called.
// COM objects are never deleted through their interfaces, which therefore have no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class ScriptedComponent final : public IDispatch
{
public:
    HRESULT result = S_OK; // S_FALSE: it answers false; DISP_E_UNKNOWNNAME: it has no such method
    // The count and name asked for; the member, flags and named arguments; the arguments' types and values.
    std::wostringstream call;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        call << count << L' ' << names[0];
        *ids = 7;
        return result == DISP_E_UNKNOWNNAME ? result : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD how, DISPPARAMS* params, VARIANT* out,
                                     EXCEPINFO*, UINT*) override
    {
        call << L": " << member << L' ' << how << L' ' << params->cNamedArgs << L':';
        const VARIANT* arguments = params->rgvarg; // the last first
        for (UINT i = params->cArgs; i-- > 0;)
            call << L' ' << arguments[i].vt;
        if (call.str().ends_with(L": 2 8 16387")) { // VT_I2, VT_BSTR, VT_I4 | VT_BYREF
            call << L": " << arguments[2].iVal << L' ' << arguments[1].bstrVal << L' ' << *arguments[0].plVal;
            *arguments[0].plVal = 3;
        }
        out->vt = VT_BOOL;
        out->boolVal = result == S_OK ? VARIANT_TRUE : VARIANT_FALSE;
        return result == S_FALSE ? S_OK : result;
    }
};
#pragma GCC diagnostic pop

TEST(Win32PrinterStatus, TheCallPassesTheArgumentsAndReadsTheAnswer)
{
    // How the component answers, then what the caller makes of it and the status it finds, having passed -9.
    using enum StatusAnswer;
    const std::tuple<HRESULT, StatusAnswer, std::int32_t> cases[] = {
        {S_OK, Answered, 3}, {S_FALSE, NotAnswered, -9}, {E_FAIL, Failed, -9}, {DISP_E_UNKNOWNNAME, Failed, -9}};
    for (const auto& [result, expected, after] : cases) {
        ScriptedComponent component;
        component.result = result;
        std::int32_t status = -9;
        const auto found = CallGetPrinterStatus(component, -1234, "\\\\HPSRV\\Impress\xC3\xA3o", status);
        EXPECT_EQ(std::tuple(found, status), std::tuple(expected, after)) << std::hex << result;
        // A method call of three unnamed arguments: VT_I2, VT_BSTR and VT_I4 | VT_BYREF, the status in as 0.
        const wchar_t* invoked =
            result == DISP_E_UNKNOWNNAME ? L"" : L": 7 1 0: 2 8 16387: -1234 \\\\HPSRV\\Impress\u00E3o 0";
        EXPECT_EQ(component.call.str(), L"1 GetPrinterStatus" + std::wstring(invoked));
    }
}

// The agent's component is not registered in the stage's prefix; the others have no GetPrinterStatus.
TEST(Win32PrinterStatus, AMissingComponentFailsWithoutTouchingTheStatus)
{
    for (const char* progId : {platform::win32::kPrinterStatusProgId, "Scripting.FileSystemObject", ""}) {
        platform::win32::Win32PrinterStatus component(progId);
        std::int32_t status = 5;
        EXPECT_EQ(component.GetPrinterStatus(12, "HP1", status), StatusAnswer::Failed) << progId;
        EXPECT_EQ(status, 5) << progId;
    }
}

// Without the component, cluster printers are listed unflagged; the first query's failure ends the queries.
TEST(Win32Discovery, AFailedStatusQueryEndsTheQueries)
{
    const auto machine = test::TestMachine::Create();
    const platform::Platform host = platform::win32::MakePlatform();
    platform::Current().spooler = host.spooler;
    platform::Current().printerStatus = host.printerStatus;
    printers().Clear();
    for (const char* key : {"Printers", "Printers\\A", "Printers\\B"})
        machine->MakeKey(key);
    machine->SetString("Printers\\A", "TessalineID", std::string("1\0", 2));
    machine->SetString("Printers\\B", "TessalineID", std::string("2\0", 2));
    mod_Trace::SetTraceSettings("1", machine->Folder());

    EXPECT_TRUE(mod_Printers::SearchPrinters(machine->Key("Printers"), "HPSRV"));
    ASSERT_EQ(printers().Count(), 2);
    for (const auto& printer : printers())
        EXPECT_FALSE(printer->serverDisabled() || printer->localDisabled()) << printer->printerName();
    const std::filesystem::path file = machine->HostPath(machine->Folder() + "\\VeltrinAdmin_03122026.log");
    const std::string log{std::istreambuf_iterator<char>(std::ifstream(file, std::ios::binary).rdbuf()), {}};
    const std::string start = "[Printers]  - start: "; // a status query
    EXPECT_NE(log.find(start), std::string::npos) << log;
    EXPECT_EQ(log.find(start), log.rfind(start)) << log;
    printers().Clear();
    mod_Trace::ResetTraceSettings();
}

} // namespace
} // namespace quenyx

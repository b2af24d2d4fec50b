#include "platform/win32/Win32PrinterStatus.h"

#include "platform/Utf.h"

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <tuple>

namespace quenyx::platform::win32 {

namespace {

// COM on the calling thread for the length of one call. A thread already in the other apartment model
// (RPC_E_CHANGED_MODE) can still create the component; it is left as it was found.
class ComApartment final
{
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

class DispatchPtr final
{
public:
    DispatchPtr() = default;
    ~DispatchPtr()
    {
        if (pointer_)
            pointer_->Release();
    }
    DispatchPtr(const DispatchPtr&) = delete;
    DispatchPtr& operator=(const DispatchPtr&) = delete;

    IDispatch* get() const { return pointer_; }
    void** out() { return reinterpret_cast<void**>(&pointer_); }

private:
    IDispatch* pointer_ = nullptr;
};

class Variant final
{
public:
    Variant() { VariantInit(&value_); }
    ~Variant() { std::ignore = VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* get() { return &value_; }
    const VARIANT& operator*() const { return value_; }

private:
    VARIANT value_;
};

// What a failing Invoke may leave in it belongs to the caller.
class ExceptionInfo final
{
public:
    ExceptionInfo() = default;
    ~ExceptionInfo()
    {
        SysFreeString(info_.bstrSource);
        SysFreeString(info_.bstrDescription);
        SysFreeString(info_.bstrHelpFile);
    }
    ExceptionInfo(const ExceptionInfo&) = delete;
    ExceptionInfo& operator=(const ExceptionInfo&) = delete;

    EXCEPINFO* get() { return &info_; }

private:
    EXCEPINFO info_{};
};

// Invoke takes the arguments last first. The status lives here, where the by-reference argument points.
class StatusArguments final
{
public:
    StatusArguments(std::int16_t tessalineId, const std::string& fullName)
    {
        for (VARIANT& argument : arguments_)
            VariantInit(&argument);
        arguments_[2].vt = VT_I2;
        arguments_[2].iVal = tessalineId;
        const std::u16string name = Utf8ToUtf16(fullName);
        arguments_[1].vt = VT_BSTR;
        arguments_[1].bstrVal =
            SysAllocStringLen(reinterpret_cast<const OLECHAR*>(name.data()), static_cast<UINT>(name.size()));
        arguments_[0].vt = VT_I4 | VT_BYREF;
        arguments_[0].plVal = &status_;
        params_.rgvarg = arguments_;
        params_.cArgs = 3;
    }
    ~StatusArguments()
    {
        for (VARIANT& argument : arguments_)
            std::ignore = VariantClear(&argument);
    }
    StatusArguments(const StatusArguments&) = delete;
    StatusArguments& operator=(const StatusArguments&) = delete;

    bool Built() const { return arguments_[1].bstrVal != nullptr; }
    DISPPARAMS* Params() { return &params_; }
    std::int32_t Status() const { return static_cast<std::int32_t>(status_); }

private:
    LONG status_ = 0;
    VARIANT arguments_[3];
    DISPPARAMS params_{};
};

} // namespace

Win32PrinterStatus::Win32PrinterStatus(const std::string& progId)
{
    const std::u16string wide = Utf8ToUtf16(progId);
    progId_.assign(wide.begin(), wide.end());
}

StatusAnswer Win32PrinterStatus::GetPrinterStatus(std::int16_t tessalineId, const std::string& fullName,
                                                  std::int32_t& status)
{
    const ComApartment apartment;
    if (!apartment.Usable())
        return StatusAnswer::Failed;
    CLSID component{};
    if (FAILED(CLSIDFromProgID(progId_.c_str(), &component)))
        return StatusAnswer::Failed;
    DispatchPtr instance;
    if (FAILED(CoCreateInstance(component, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                instance.out())) ||
        !instance.get())
        return StatusAnswer::Failed;
    return CallGetPrinterStatus(*instance.get(), tessalineId, fullName, status);
}

StatusAnswer CallGetPrinterStatus(IDispatch& component, std::int16_t tessalineId, const std::string& fullName,
                                  std::int32_t& status)
{
    OLECHAR method[] = L"GetPrinterStatus";
    LPOLESTR names[] = {method};
    DISPID member = DISPID_UNKNOWN;
    if (FAILED(component.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member)))
        return StatusAnswer::Failed;

    StatusArguments arguments(tessalineId, fullName);
    if (!arguments.Built())
        return StatusAnswer::Failed;
    Variant result;
    ExceptionInfo exception;
    UINT badArgument = 0;
    if (FAILED(component.Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, arguments.Params(),
                                result.get(), exception.get(), &badArgument)))
        return StatusAnswer::Failed;
    if (!ToBoolean(*result))
        return StatusAnswer::NotAnswered;
    status = arguments.Status();
    return StatusAnswer::Answered;
}

bool ToBoolean(const VARIANT& result)
{
    Variant converted;
    // VariantChangeType does not change its source; it is only declared without const.
    if (FAILED(VariantChangeType(converted.get(), const_cast<VARIANT*>(&result), 0, VT_BOOL)))
        return false;
    return (*converted).boolVal != VARIANT_FALSE;
}

} // namespace quenyx::platform::win32

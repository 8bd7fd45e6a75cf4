#include "win32/Dispatch.h"

#include <oleauto.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "win32/CodePage932.h"
#include "win32/SystemError.h"

namespace zarn::win32 {
namespace {

// An object that raised an exception explains itself in EXCEPINFO; prefer its words to the bare
// DISP_E_EXCEPTION, and free what it allocated either way.
[[noreturn]] void ThrowException(const std::string& operation, EXCEPINFO& info) {
  if (info.pfnDeferredFillIn != nullptr) info.pfnDeferredFillIn(&info);
  std::string description;
  if (info.bstrDescription != nullptr)
    description = Utf8FromWide(std::wstring_view(info.bstrDescription, ::SysStringLen(info.bstrDescription)));
  const HRESULT code =
      info.scode != 0 ? info.scode : (info.wCode != 0 ? MAKE_HRESULT(1, FACILITY_ITF, info.wCode) : DISP_E_EXCEPTION);
  ::SysFreeString(info.bstrSource);
  ::SysFreeString(info.bstrDescription);
  ::SysFreeString(info.bstrHelpFile);
  while (!description.empty() && (description.back() == '\n' || description.back() == '\r')) description.pop_back();
  if (description.empty()) ThrowHresult(operation, code);
  if (IsShellItemGone(code)) throw ShellItemGone(operation + ": " + description);
  throw Error(operation + ": " + description);
}

}  // namespace

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    ::VariantClear(&value_);
    value_ = other.value_;
    ::VariantInit(&other.value_);
  }
  return *this;
}

Dispatch& Dispatch::operator=(Dispatch&& other) noexcept {
  if (this != &other) {
    Reset();
    object_ = other.object_;
    name_ = std::move(other.name_);
    other.object_ = nullptr;
  }
  return *this;
}

void Dispatch::Reset() {
  if (object_ != nullptr) object_->Release();
  object_ = nullptr;
}

std::string Dispatch::Describe(std::wstring_view member) const { return name_ + "." + Utf8FromWide(member); }

Variant Dispatch::Get(std::wstring_view member) const { return Invoke(member, nullptr, 0); }

Variant Dispatch::Call(std::wstring_view member, const VARIANT& argument) const {
  // Invoke does not change its arguments; the copy only satisfies the non-const signature.
  VARIANT copy = argument;
  return Invoke(member, &copy, 1);
}

Dispatch Dispatch::Object(std::wstring_view member) const {
  Dispatch result = FromResult(Get(member), Describe(member));
  if (!result) throw Error(Describe(member) + ": " + "no object");
  return result;
}

std::atomic<std::uint64_t> Dispatch::callsMade_{0};

Variant Dispatch::Invoke(std::wstring_view member, VARIANT* arguments, UINT count) const {
  const std::string operation = Describe(member);
  if (object_ == nullptr) throw Error(operation + ": no object");
  // Each call into the shell is a round trip to its process; the member's number is asked for once
  // per way of reaching an object, since objects reached the same way are of the same kind.
  DISPID id = DISPID_UNKNOWN;
  {
    static SRWLOCK guard = SRWLOCK_INIT;
    // A dozen members at most: a list is smaller in the program than a map.
    static std::vector<std::pair<std::string, DISPID>> known;
    ::AcquireSRWLockExclusive(&guard);
    struct Release {
      ~Release() { ::ReleaseSRWLockExclusive(&guard); }
    } release;
    const auto found = std::find_if(known.begin(), known.end(), [&](const auto& k) { return k.first == operation; });
    if (found != known.end()) {
      id = found->second;
    } else {
      std::wstring name(member);
      LPOLESTR names[] = {name.data()};
      ++callsMade_;
      ThrowIfFailed(object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), operation);
      known.emplace_back(operation, id);
    }
  }

  DISPPARAMS parameters{arguments, nullptr, count, 0};
  Variant result;
  EXCEPINFO exception{};
  UINT argumentError = 0;
  ++callsMade_;
  const HRESULT hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                     &parameters, result.get(), &exception, &argumentError);
  if (hr == DISP_E_EXCEPTION) ThrowException(operation, exception);
  ThrowIfFailed(hr, operation);
  return result;
}

Dispatch Dispatch::FromResult(const Variant& result, std::string name) {
  const VARIANT& value = *result;
  IDispatch* object = nullptr;
  if (value.vt == VT_DISPATCH && value.pdispVal != nullptr) {
    object = value.pdispVal;
    object->AddRef();
  } else if (value.vt == VT_UNKNOWN && value.punkVal != nullptr) {
    if (FAILED(value.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object)))) object = nullptr;
  }
  return Dispatch(object, std::move(name));
}

}  // namespace zarn::win32

#pragma once
// A class factory that lives as long as the module it is in: a static object, so its AddRef and
// Release count nothing.
#include <windows.h>
#include <unknwn.h>

namespace zarn::standin {

class StaticClassFactory final : public IClassFactory {
 public:
  // `create` makes a new object holding one reference; `locks`, when given, counts LockServer.
  explicit StaticClassFactory(IUnknown* (*create)(), LONG* locks = nullptr) : create_(create), locks_(locks) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IUnknown* object = create_();
    if (!object) return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (locks_) lock ? InterlockedIncrement(locks_) : InterlockedDecrement(locks_);
    return S_OK;
  }

 private:
  IUnknown* (*create_)();
  LONG* locks_;
};

}  // namespace zarn::standin

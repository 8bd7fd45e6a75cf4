#pragma once
// Late-bound automation calls (IDispatch::GetIDsOfNames + Invoke), as a scripting client makes
// them: the shell's window objects need nothing from us but IDispatch, whatever their vtables hold.
#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace zarn::win32 {

// Owns one VARIANT.
class Variant {
 public:
  Variant() { ::VariantInit(&value_); }
  ~Variant() { ::VariantClear(&value_); }
  Variant(Variant&& other) noexcept : value_(other.value_) { ::VariantInit(&other.value_); }
  Variant& operator=(Variant&& other) noexcept;
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  VARIANT* get() { return &value_; }
  const VARIANT& operator*() const { return value_; }
  VARTYPE type() const { return value_.vt; }

 private:
  VARIANT value_;
};

// One reference to an automation object. `name` says how it was reached ("Windows.Item"), so a
// failure names the member that failed.
class Dispatch {
 public:
  Dispatch() = default;
  // Takes over the caller's reference.
  Dispatch(IDispatch* object, std::string name) : object_(object), name_(std::move(name)) {}
  ~Dispatch() { Reset(); }
  Dispatch(Dispatch&& other) noexcept : object_(other.object_), name_(std::move(other.name_)) {
    other.object_ = nullptr;
  }
  Dispatch& operator=(Dispatch&& other) noexcept;
  Dispatch(const Dispatch&) = delete;
  Dispatch& operator=(const Dispatch&) = delete;

  explicit operator bool() const { return object_ != nullptr; }
  IDispatch* get() const { return object_; }
  const std::string& name() const { return name_; }

  // A property read or a method call without arguments (a scripting client cannot tell them apart
  // either, so both flags are passed). Throws zarn::Error naming the member and the system's reason.
  Variant Get(std::wstring_view member) const;
  // A method call with one argument.
  Variant Call(std::wstring_view member, const VARIANT& argument) const;
  // Get(member) that must give an object; throws zarn::Error when it gives none.
  Dispatch Object(std::wstring_view member) const;

  // The object a result holds: VT_DISPATCH, or VT_UNKNOWN that answers IDispatch. An empty object
  // for VT_EMPTY, VT_NULL, a null pointer or any non-object value.
  static Dispatch FromResult(const Variant& result, std::string name);

  // Calls made into automation objects so far (GetIDsOfNames, Invoke, and what callers count with
  // CountCall), each a round trip to the shell's process on Windows: what a snapshot costs.
  static std::uint64_t CallsMade() { return callsMade_.load(); }
  static void CountCall() { ++callsMade_; }

 private:
  void Reset();
  Variant Invoke(std::wstring_view member, VARIANT* arguments, UINT count) const;
  std::string Describe(std::wstring_view member) const;

  IDispatch* object_ = nullptr;
  std::string name_;
  static std::atomic<std::uint64_t> callsMade_;
};

}  // namespace zarn::win32

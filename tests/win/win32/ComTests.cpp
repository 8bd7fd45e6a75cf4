// COM set-up and the late-binding helper's failure paths, which the walk reaches only when
// something goes wrong in the shell.
#include <gtest/gtest.h>

#include <objbase.h>

#include <string>
#include <thread>

#include "StandinFolders.h"
#include "core/Error.h"
#include "win32/BusyShellFilter.h"
#include "win32/ComApartment.h"
#include "win32/Dispatch.h"

namespace zarn::win32 {
namespace {

// Runs `body` on a fresh thread and waits for it: each test needs a thread COM has not seen.
template <typename Body>
void OnNewThread(Body body) {
  std::thread thread(body);
  thread.join();
}

TEST(ComApartment, NestsOnOneThreadAndRefusesAMultithreadedOne) {
  OnNewThread([] {
    ComApartment outer;
    EXPECT_NO_THROW(ComApartment inner);
    // Still initialised after the inner one ended: the outer reference keeps it.
    IUnknown* object = nullptr;
    const HRESULT hr = ::CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                          reinterpret_cast<void**>(&object));
    EXPECT_NE(hr, CO_E_NOTINITIALIZED);
    if (object != nullptr) object->Release();
  });
  OnNewThread([] {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    try {
      ComApartment apartment;
      ADD_FAILURE() << "a multithreaded thread was accepted";
    } catch (const zarn::Error& error) {
      EXPECT_EQ(std::string(error.what()).rfind("CoInitializeEx: ", 0), 0u) << error.what();
    }
    ::CoUninitialize();
  });
}

TEST(BusyShellFilter, RetriesABusyShellForABoundedTimeThenGivesUp) {
  BusyShellFilter filter;
  constexpr DWORD kCancel = static_cast<DWORD>(-1);
  struct Rejection {
    DWORD type, tick, expected;
  };
  for (const Rejection& c :
       {Rejection{SERVERCALL_RETRYLATER, 0, BusyShellFilter::kRetryEveryMs},
        Rejection{SERVERCALL_RETRYLATER, BusyShellFilter::kRetryForMs - 1, BusyShellFilter::kRetryEveryMs},
        Rejection{SERVERCALL_RETRYLATER, BusyShellFilter::kRetryForMs, kCancel},
        Rejection{SERVERCALL_REJECTED, 0, kCancel}}) {
    EXPECT_EQ(filter.RetryRejectedCall(nullptr, c.tick, c.type), c.expected) << c.type << " at " << c.tick;
  }
  EXPECT_EQ(filter.MessagePending(nullptr, BusyShellFilter::kCancelPendingAfterMs - 1, PENDINGTYPE_TOPLEVEL),
            static_cast<DWORD>(PENDINGMSG_WAITDEFPROCESS));
  EXPECT_EQ(filter.MessagePending(nullptr, BusyShellFilter::kCancelPendingAfterMs, PENDINGTYPE_TOPLEVEL),
            static_cast<DWORD>(PENDINGMSG_CANCELCALL));
  // The apartment puts its own in place for the thread and gives back the one before it.
  OnNewThread([] {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    BusyShellFilter before;
    ASSERT_TRUE(SUCCEEDED(::CoRegisterMessageFilter(&before, nullptr)));
    auto current = [] {
      IMessageFilter* filter = nullptr;
      ::CoRegisterMessageFilter(nullptr, &filter);
      ::CoRegisterMessageFilter(filter, nullptr);
      return filter;
    };
    {
      ComApartment apartment;
      EXPECT_NE(current(), &before);
      EXPECT_NE(dynamic_cast<BusyShellFilter*>(current()), nullptr);
    }
    EXPECT_EQ(current(), &before);
    ::CoRegisterMessageFilter(nullptr, nullptr);
    ::CoUninitialize();
  });
}

class DispatchOnShell : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::StandinRegistered()) {
      if (test::g_requireStandin) FAIL() << "the stand-in shell is not registered in this prefix";
      GTEST_SKIP() << "the stand-in shell is not registered in this prefix";
    }
    CLSID clsid;
    ASSERT_TRUE(SUCCEEDED(::CLSIDFromProgID(L"Shell.Application", &clsid)));
    IDispatch* object = nullptr;
    ASSERT_TRUE(SUCCEEDED(
        ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&object))));
    application_ = Dispatch(object, "Shell.Application");
  }
  Dispatch application_;
};

TEST_F(DispatchOnShell, UnknownMemberFailsNamingIt) {
  try {
    application_.Get(L"NoSuchMember");
    FAIL() << "no error";
  } catch (const zarn::Error& error) {
    const std::string message = error.what();
    EXPECT_EQ(message.rfind("Shell.Application.NoSuchMember: ", 0), 0u) << message;
    EXPECT_GT(message.size(), std::string("Shell.Application.NoSuchMember: ").size());
  }
}

TEST_F(DispatchOnShell, ObjectsAreNamedByThePathThatReachedThem) {
  const Dispatch windows = application_.Object(L"Windows");
  EXPECT_EQ(windows.name(), "Shell.Application.Windows");
  Variant count = windows.Get(L"Count");
  EXPECT_EQ(count.type(), VT_I4);
  // A number is no object, and the error says which member gave it.
  try {
    windows.Object(L"Count");
    FAIL() << "no error";
  } catch (const zarn::Error& error) {
    EXPECT_EQ(std::string(error.what()), "Shell.Application.Windows.Count: no object");
  }
}

TEST_F(DispatchOnShell, MovedFromReferencesAreEmptyAndFailCleanly) {
  Dispatch moved = std::move(application_);
  EXPECT_TRUE(moved);
  EXPECT_FALSE(application_);
  EXPECT_THROW(application_.Get(L"Windows"), zarn::Error);
  Variant first = moved.Get(L"Windows");
  Variant second = std::move(first);
  EXPECT_EQ(first.type(), VT_EMPTY);
  EXPECT_EQ(second.type(), VT_DISPATCH);
  EXPECT_TRUE(Dispatch::FromResult(second, "copy"));
  EXPECT_FALSE(Dispatch::FromResult(first, "empty"));
}

}  // namespace
}  // namespace zarn::win32

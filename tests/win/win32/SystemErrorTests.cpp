#include "win32/SystemError.h"

#include <gtest/gtest.h>

#include <string>

#include "core/Error.h"

namespace zarn::win32 {
namespace {

bool EndsWithLineBreakOrSpace(const std::string& text) {
  return !text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ');
}

TEST(SystemError, KnownCodesGiveTheSystemsTextWithoutTrailingLineBreak) {
  for (DWORD code : {DWORD{ERROR_FILE_NOT_FOUND}, DWORD{ERROR_ACCESS_DENIED}, DWORD{ERROR_INVALID_WINDOW_HANDLE}}) {
    SCOPED_TRACE(code);
    const std::string text = SystemMessage(code);
    EXPECT_FALSE(text.empty());
    EXPECT_FALSE(EndsWithLineBreakOrSpace(text));
  }
  EXPECT_NE(SystemMessage(ERROR_FILE_NOT_FOUND), SystemMessage(ERROR_ACCESS_DENIED));
}

TEST(SystemError, MessageNamesTheOperationThenTheReason) {
  const std::string message = ErrorFromCode("CreateFileW", ERROR_FILE_NOT_FOUND).what();
  EXPECT_EQ(message, "CreateFileW: " + SystemMessage(ERROR_FILE_NOT_FOUND));
}

TEST(SystemError, CodeWithoutTextIsShownInHex) {
  EXPECT_EQ(SystemMessage(0x2FFFFFFF), "");
  EXPECT_EQ(std::string(ErrorFromCode("Op", 0x2FFFFFFF).what()), "Op: error 0x2FFFFFFF");
}

TEST(SystemError, HresultsExplainThemselves) {
  // A wrapped Win32 code reads as the code itself.
  EXPECT_EQ(std::string(ErrorFromHresult("Op", HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)).what()),
            "Op: " + SystemMessage(ERROR_ACCESS_DENIED));
  const std::string notImplemented = ErrorFromHresult("Windows", E_NOTIMPL).what();
  EXPECT_EQ(notImplemented.rfind("Windows: ", 0), 0u);
  EXPECT_GT(notImplemented.size(), std::string("Windows: ").size());
}

TEST(SystemError, ThrowHelpersThrowOnlyOnFailure) {
  EXPECT_NO_THROW(ThrowIfFailed(S_OK, "Op"));
  EXPECT_NO_THROW(ThrowIfFailed(S_FALSE, "Op"));
  EXPECT_THROW(ThrowIfFailed(E_FAIL, "Op"), Error);

  ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  try {
    ThrowLastError("SetWindowPos");
    FAIL() << "no exception";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "SetWindowPos: " + SystemMessage(ERROR_INVALID_WINDOW_HANDLE));
  }
}

TEST(SystemError, OnlyAGoneOrBusyShellItemIsSkippable) {
  // Skipping any other failure would hide a shell that is broken for every item.
  struct Case {
    HRESULT hr;
    bool gone;
  };
  for (const Case& c :
       {Case{RPC_E_DISCONNECTED, true}, Case{CO_E_OBJNOTCONNECTED, true}, Case{RPC_E_CALL_REJECTED, true},
        Case{RPC_E_SERVERCALL_RETRYLATER, true}, Case{RPC_E_CALL_CANCELED, true}, Case{E_NOTIMPL, false},
        Case{E_ACCESSDENIED, false}, Case{RPC_E_WRONG_THREAD, false}}) {
    SCOPED_TRACE(c.hr);
    try {
      ThrowHresult("Item", c.hr);
    } catch (const ShellItemGone&) {
      EXPECT_TRUE(c.gone);
    } catch (const zarn::Error&) {
      EXPECT_FALSE(c.gone);
    }
  }
}

}  // namespace
}  // namespace zarn::win32

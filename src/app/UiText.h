#pragma once
// The program's own Japanese texts, in one place.
#include "app/ZarnMessages.h"

namespace zarn::app::text {

// Dialog captions and buttons.
inline constexpr wchar_t kConfirmCaption[] = L"確認";
inline constexpr wchar_t kInformationCaption[] = L"情報";

// Tool bar hints, in button order.
inline constexpr wchar_t kHintCascade[] = L"重ねて表示";
inline constexpr wchar_t kHintTile[] = L"並べて表示";
inline constexpr wchar_t kHintCloseAll[] = L"すべて閉じる";
inline constexpr wchar_t kHintSave[] = L"ワークベンチの保存";
inline constexpr wchar_t kHintLoad[] = L"ワークベンチの読込";

// Menu captions.
inline constexpr wchar_t kMenuCascadeKeepSize[] = L"重ねて表示";
inline constexpr wchar_t kMenuCascadeUniform[] = L"サイズを揃えて重ねて表示";
inline constexpr wchar_t kMenuTile[] = L"並べて表示";
inline constexpr wchar_t kMenuCloseAll[] = L"すべて閉じる";
inline constexpr wchar_t kMenuSaveWorkBench[] = L"ワークベンチの保存";
inline constexpr wchar_t kMenuNewWorkBench[] = L"新規ワークベンチの保存";
inline constexpr wchar_t kMenuLoadWorkBench[] = L"ワークベンチの読込";
inline constexpr wchar_t kMenuOrganise[] = L"ワークベンチの整理";
inline constexpr wchar_t kMenuSettings[] = L"設定";
inline constexpr wchar_t kMenuSettingsDialog[] = L"設定ダイアログの表示";
inline constexpr wchar_t kMenuTitleBar[] = L"タイトルバー表示/非表示";
inline constexpr wchar_t kMenuExit[] = L"終了";

// Questions and refusals.
inline constexpr wchar_t kOverwriteWorkBench[] = L"ﾜｰｸﾍﾞﾝﾁ[%s]に上書きしますか？";
inline constexpr wchar_t kAlreadyRegistered[] = L"このﾜｰｸﾍﾞﾝﾁ名は既に登録されています。上書きしますか？";
inline constexpr wchar_t kEnterWorkBenchName[] = L"ﾜｰｸﾍﾞﾝﾁ名を入力してください";
inline constexpr wchar_t kNameNotStorable[] =
    L"このワークベンチ名には、設定ファイルに保存できない文字が含まれています。";

// Failures without a message of their own.
inline constexpr wchar_t kOutOfMemory[] = L"メモリが不足しています";
inline constexpr wchar_t kUnknownFailure[] = L"予期しないエラーが発生しました";
inline constexpr wchar_t kSettingsDialogComing[] = L"この機能は準備中です。";

}  // namespace zarn::app::text

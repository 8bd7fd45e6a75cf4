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

// The settings dialog.
inline constexpr wchar_t kPageWorkBenches[] = L"ﾜｰｸﾍﾞﾝﾁの整理";
inline constexpr wchar_t kPageGeneral[] = L"全般";
inline constexpr wchar_t kPageScreen[] = L"画面";
inline constexpr wchar_t kButtonUp[] = L"上へ";
inline constexpr wchar_t kButtonDown[] = L"下へ";
inline constexpr wchar_t kButtonRename[] = L"名前を変更";
inline constexpr wchar_t kButtonDelete[] = L"削除";
inline constexpr wchar_t kLabelMoniterMode[] = L"配置モード";
inline constexpr wchar_t kLabelShowMode[] = L"起動モード";
inline constexpr wchar_t kLabelLayerType[] = L"透明化";
inline constexpr wchar_t kLabelAlpha[] = L"透明度";
inline constexpr wchar_t kCheckTitleBar[] = L"タイトルバーの表示";
inline constexpr wchar_t kLabelWorkBenchLoad[] = L"ワークベンチ読込み時の動作";
inline constexpr const wchar_t* kMoniterModeItems[] = {L"カレントモニタ", L"デスクトップ", L"カスタム"};
inline constexpr const wchar_t* kShowModeItems[] = {L"画面、タスクトレイ ともに表示", L"画面のみ表示",
                                                    L"タスクトレイのみ表示"};
inline constexpr const wchar_t* kLayerTypeItems[] = {L"透明化しない", L"フォームを透明にする", L"透明度を指定する"};
inline constexpr const wchar_t* kWorkBenchLoadItems[] = {L"ワークベンチを選択する",
                                                         L"最近読込んだワークベンチを読込む"};
inline constexpr wchar_t kHintMoniterMode[] = L"重ねて表示、並べて表示の時の配置を指定します";
inline constexpr wchar_t kHintShowMode[] = L"起動に関する指定を行います";
inline constexpr wchar_t kButtonOk[] = L"OK";
inline constexpr wchar_t kButtonCancel[] = L"ｷｬﾝｾﾙ";
inline constexpr wchar_t kNewWorkBenchName[] = L"新しいﾜｰｸﾍﾞﾝﾁ名";
inline constexpr wchar_t kNameAlreadyRegistered[] = L"このﾜｰｸﾍﾞﾝﾁ名は既に登録されています";

// The region editor's hints.
inline constexpr wchar_t kHintMoveRegion[] = L"範囲を移動";
inline constexpr wchar_t kHintConfirmRegion[] = L"範囲を確定";

}  // namespace zarn::app::text

#pragma once
// Every text the program shows, in one place. The windows' texts and the messages the core puts
// together are UTF-16, as the Win32 calls take them; the messages carried by zarn::Error are UTF-8;
// the two fixed menu captions are also given in code page 932, since workbench names (stored in
// that code page) are told apart from them.
#include <string_view>

namespace zarn::text {

// Dialog captions and buttons.
inline constexpr char16_t kConfirmCaption[] = u"確認";
inline constexpr char16_t kInformationCaption[] = u"情報";
inline constexpr char16_t kButtonYes[] = u"はい(&Y)";
inline constexpr char16_t kButtonCancelFullWidth[] = u"キャンセル";  // the message dialogs' own

// Tool bar hints, in button order.
inline constexpr char16_t kHintCascade[] = u"重ねて表示";
inline constexpr char16_t kHintTile[] = u"並べて表示";
inline constexpr char16_t kHintCloseAll[] = u"すべて閉じる";
inline constexpr char16_t kHintSave[] = u"ワークベンチの保存";
inline constexpr char16_t kHintLoad[] = u"ワークベンチの読込";
inline constexpr char16_t kStopRestore[] = u"ワークベンチの読込を中止";

// Menu captions.
inline constexpr char16_t kMenuCascadeKeepSize[] = u"重ねて表示";
inline constexpr char16_t kMenuCascadeUniform[] = u"サイズを揃えて重ねて表示";
inline constexpr char16_t kMenuTile[] = u"並べて表示";
inline constexpr char16_t kMenuCloseAll[] = u"すべて閉じる";
inline constexpr char16_t kMenuSaveWorkBench[] = u"ワークベンチの保存";
inline constexpr char16_t kMenuNewWorkBench[] = u"新規ワークベンチの保存";
inline constexpr char16_t kMenuLoadWorkBench[] = u"ワークベンチの読込";
inline constexpr char16_t kMenuOrganise[] = u"ワークベンチの整理";
inline constexpr char16_t kMenuSettings[] = u"設定";
inline constexpr char16_t kMenuSettingsDialog[] = u"設定ダイアログの表示";
inline constexpr char16_t kMenuTitleBar[] = u"タイトルバー表示/非表示";
inline constexpr char16_t kMenuExit[] = u"終了";

// Questions and refusals.
inline constexpr char16_t kOverwriteWorkBench[] = u"ﾜｰｸﾍﾞﾝﾁ[%s]に上書きしますか？";
inline constexpr char16_t kAlreadyRegistered[] = u"このﾜｰｸﾍﾞﾝﾁ名は既に登録されています。上書きしますか？";
inline constexpr char16_t kEnterWorkBenchName[] = u"ﾜｰｸﾍﾞﾝﾁ名を入力してください";
inline constexpr char16_t kNameNotStorable[] =
    u"このワークベンチ名には、設定ファイルに保存できない文字が含まれています。";

// Failures without a message of their own.
inline constexpr char16_t kOutOfMemory[] = u"メモリが不足しています";
inline constexpr char16_t kUnknownFailure[] = u"予期しないエラーが発生しました";

// The settings dialog.
inline constexpr char16_t kPageWorkBenches[] = u"ﾜｰｸﾍﾞﾝﾁの整理";
inline constexpr char16_t kPageGeneral[] = u"全般";
inline constexpr char16_t kPageScreen[] = u"画面";
inline constexpr char16_t kButtonUp[] = u"上へ";
inline constexpr char16_t kButtonDown[] = u"下へ";
inline constexpr char16_t kButtonRename[] = u"名前を変更";
inline constexpr char16_t kButtonDelete[] = u"削除";
inline constexpr char16_t kLabelMoniterMode[] = u"配置モード";
inline constexpr char16_t kLabelShowMode[] = u"起動モード";
inline constexpr char16_t kLabelLayerType[] = u"透明化";
inline constexpr char16_t kLabelAlpha[] = u"透明度";
inline constexpr char16_t kCheckTitleBar[] = u"タイトルバーの表示";
inline constexpr char16_t kLabelWorkBenchLoad[] = u"ワークベンチ読込み時の動作";
inline constexpr const char16_t* kMoniterModeItems[] = {u"カレントモニタ", u"デスクトップ", u"カスタム"};
inline constexpr const char16_t* kShowModeItems[] = {u"画面、タスクトレイ ともに表示", u"画面のみ表示",
                                                     u"タスクトレイのみ表示"};
inline constexpr const char16_t* kLayerTypeItems[] = {u"透明化しない", u"フォームを透明にする", u"透明度を指定する"};
inline constexpr const char16_t* kWorkBenchLoadItems[] = {u"ワークベンチを選択する",
                                                          u"最近読込んだワークベンチを読込む"};
inline constexpr char16_t kHintMoniterMode[] = u"重ねて表示、並べて表示の時の配置を指定します";
inline constexpr char16_t kHintShowMode[] = u"起動に関する指定を行います";
inline constexpr char16_t kButtonOk[] = u"OK";
inline constexpr char16_t kButtonCancel[] = u"ｷｬﾝｾﾙ";
inline constexpr char16_t kNewWorkBenchName[] = u"新しいﾜｰｸﾍﾞﾝﾁ名";
inline constexpr char16_t kNameAlreadyRegistered[] = u"このﾜｰｸﾍﾞﾝﾁ名は既に登録されています";

// The region editor's hints.
inline constexpr char16_t kHintMoveRegion[] = u"範囲を移動";
inline constexpr char16_t kHintConfirmRegion[] = u"範囲を確定";

// Messages the core puts together.
inline constexpr char16_t kFolderWithoutName[] = u"（フォルダ名なし）";
inline constexpr char16_t kMoreFoldersBefore[] = u"ほか ";  // "ほか 12 件": the folders not listed
inline constexpr char16_t kMoreFoldersAfter[] = u" 件";
inline constexpr char16_t kRestoringBefore[] = u"ワークベンチを復元中 (";  // "ワークベンチを復元中 (3/10)"
inline constexpr char16_t kRestoringAfter[] = u")";
inline constexpr char16_t kNotRestoredHeading[] = u"次のフォルダは復元できませんでした。";
inline constexpr char16_t kTabsAsWindowsHeading[] =
    u"次のフォルダはタブとして開けないため、ひとつ前のウィンドウから少しずらして別のウィンドウで開きました。";
inline constexpr char16_t kLeftOutHeading[] = u"次のフォルダはパスを保存できないため、ワークベンチに含めませんでした。";
inline constexpr char16_t kPictureExtensionBefore[] = u"拡張子 .";  // "拡張子 .png の画像形式は処理できません"
inline constexpr char16_t kPictureExtensionAfter[] = u" の画像形式は処理できません";
inline constexpr char16_t kBadBitmap[] = u"ビットマップイメージが不正です";
inline constexpr char16_t kBadIcon[] = u"アイコンイメージが不正です";
inline constexpr char16_t kBadMetafile[] = u"メタファイルが不正です";

// Messages of zarn::Error, in UTF-8.
inline constexpr std::string_view kCannotRead = "ファイルを読み込めません: ";
inline constexpr std::string_view kCannotWrite = "ファイルに書き込めません: ";
inline constexpr std::string_view kUtf16NotRewritten =
    "UTF-16 のファイルは読めないため書き換えません。Shift-JIS で保存し直してください";

// kMenuNewWorkBench and kMenuOrganise in code page 932.
inline constexpr std::string_view kMenuNewWorkBenchCp932 =
    "\x90\x56\x8B\x4B\x83\x8F\x81\x5B\x83\x4E\x83\x78\x83\x93\x83\x60\x82\xCC\x95\xDB\x91\xB6";
inline constexpr std::string_view kMenuOrganiseCp932 =
    "\x83\x8F\x81\x5B\x83\x4E\x83\x78\x83\x93\x83\x60\x82\xCC\x90\xAE\x97\x9D";

}  // namespace zarn::text

#include "qt/shell/ActionTable.h"

namespace zentabo {

namespace {

constexpr ActionSpec kActions[] = {
    {"FileNewPage1", "ファイル", "新規ページ(&N)", "新規ページ|新規ページの作成", "Ctrl+N",
     IconId::NewPage, 0},
    {"FileCopyPage1", "ファイル", "ページのコピー(&C)", "ページのコピー|現在のページを複製", "",
     IconId::None, 0},
    {"FileDeletePage1", "ファイル", "ページの削除(&D)", "ページの削除|現在のページを削除", "",
     IconId::None, 0},
    {"FileOpen1", "ファイル", "開く(&O)...", "開く|ファイルを開く", "Ctrl+O", IconId::Open, 0},
    {"FileSave1", "ファイル", "上書き保存(&S)", "上書き保存|現在のドキュメントを保存", "Ctrl+S",
     IconId::Save, 0},
    {"FileSaveAs1", "ファイル", "名前をつけて保存(&A)...",
     "名前をつけて保存|現在のドキュメントに名前をつけて保存", "", IconId::SaveAs, 1},
    {"FileClearFileName1", "ファイル", "ファイル名の解除(&C)",
     "ファイル名の解除|現在のドキュメントに関連づいたファイル名を解除", "", IconId::None, 0},
    {"FileChangeCaption1", "ファイル", "ページの名前を変更(&N)...",
     "ページの名前を変更|現在のページの名前を変更", "", IconId::None, 0},
    {"FileExit1", "ファイル", "終了(&X)", "終了|アプリケーションの終了", "", IconId::None, 0},
    {"FileDeletePage2", "ファイル", "ページの削除(&D)", "ページの削除|選択中のページを削除", "",
     IconId::None, 0},
    {"FileCopyPage2", "ファイル", "ページのコピー(&C)", "ページのコピー|選択中のページを複製", "",
     IconId::None, 0},
    {"FileChangeCaption2", "ファイル", "ページの名前を変更(&N)...",
     "ページの名前を変更|選択中のページの名前を変更", "", IconId::None, 0},
    {"EditCut1", "編集", "切り取り(&T)", "選択範囲を切り取ってクリップボードに送る", "",
     IconId::Cut, 0},
    {"EditCopy1", "編集", "コピー(&C)", "コピー|選択範囲をクリップボードに送る", "", IconId::Copy,
     0},
    {"EditPaste1", "編集", "貼り付け(&P)", "貼り付け|クリップボードの内容を貼り付け", "",
     IconId::Paste, 0},
    {"EditAllCopy1", "編集", "すべてコピー(&A)", "すべてコピー|テキスト全体をクリップボードに送る",
     "F2", IconId::CopyAll, 0},
    {"EditAllSelect1", "編集", "すべて選択(&A)", "すべて選択|テキスト全体を選択", "", IconId::None,
     0},
    {"EditBoxSel1", "編集", "矩形選択(&K)", "矩形選択|矩形範囲の選択に切り替え", "Ctrl+Shift+B",
     IconId::None, 0},
    {"EditUndo1", "編集", "元に戻す(&U)", "元に戻す|直前の操作を元に戻す", "", IconId::Undo, 0},
    {"EditRedo1", "編集", "やり直し(&R)", "やり直し|直前の操作をやり直す", "Ctrl+Alt+Z",
     IconId::Redo, 0},
    {"ViewToolBar1", "表示", "ツールバー表示(&T)", "ツールバーの表示切替", "", IconId::None, 0},
    {"ViewMultiLine1", "表示", "タブの多段表示(&M)", "タブの表示法方法の切り替え", "", IconId::None,
     0},
    {"SearchFind1", "検索と置換", "検索(&S)...", "検索|検索ダイアログを開く", "Ctrl+F",
     IconId::Find, 0},
    {"SearchReplace1", "検索と置換", "置換(&R)...", "置換|置換ダイアログを開く", "Ctrl+H",
     IconId::Replace, 0},
    {"FilePrint1", "ファイル", "印刷(&P)", "印刷|テキストを印刷", "Ctrl+P", IconId::Print, 0},
};

}  // namespace

std::span<const ActionSpec> ActionTable() {
    return kActions;
}

}  // namespace zentabo

// Toptf_f1: choosing the picture, the display range, the folder and the colour, and files
// dropped on the picture field.
#include "dialogs/options_form_win.h"
#include "dialogs/options_rules.h"

namespace kembo {

namespace {
constexpr const char* kPictureFilter =
    "すべてのﾌｧｲﾙ (*.*)|*.*|基本対応ファイル (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|"
    "ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)|*.bmp|Jpeg(*.jpg;*jpeg)|*.jpg;*jpeg|ｱｲｺﾝ (*.ico)|*.ico|"
    "ｴﾝﾊﾝｽ ﾒﾀﾌｧｲﾙ (*.emf)|*.emf|ﾒﾀﾌｧｲﾙ (*.wmf)|*.wmf";
}  // namespace

void Toptf_f1::InitPictureDialog() {
    opd1.title = "画像の設定";
    opd1.defaultExt = "*.bmp";
    // Fixed: a plug-in's format is reached through the first pair, all files.
    opd1.filter = kPictureFilter;
    opd1.filterIndex = 2;
    opd1.hideReadOnly = true;
    opd1.pathMustExist = true;
    opd1.fileMustExist = true;
    opd1.fileName.clear();
}

void Toptf_f1::bt_bgg_changeClick() {
    if (!opd1.Execute(Handle())) return;
    Get<Edit>("ed_fn_bgg1").SetText(program_.files.FullPath(opd1.fileName));
    // A new picture starts without a display range.
    workingRange = kNoRange;
    UpdateRangeText();
}

void Toptf_f1::ed_fn_bgg1Drop(IDataObject*& data, DWORD, DWORD&, POINTL) {
    droppedFiles_ = GetDroppedFiles(data);
    // Only bitmaps are taken by dropping; the display range stays as it is.
    if (const auto name = FirstBitmapName(droppedFiles_)) Get<Edit>("ed_fn_bgg1").SetText(*name);
    droppedFiles_.clear();
}

void Toptf_f1::bt_setposClick() {
    const std::string fileName = Get<Edit>("ed_fn_bgg1").Text();
    if (!program_.files.FileExists(fileName)) return;
}

void Toptf_f1::bt_DataDirClick() {
    std::string folder = Get<Edit>("ed_DataDir").Text();
    if (SelectFolder(Handle(), folder)) Get<Edit>("ed_DataDir").SetText(folder);
}

void Toptf_f1::lab_backcolorClick() {
    // The colour dialog remembers its own last choice; the swatch's colour is not its start.
    if (cd1.Execute(Handle())) Get<ColorSwatch>("lab_backcolor").SetColor(cd1.color);
}

}  // namespace kembo

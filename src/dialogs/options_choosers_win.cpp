// Toptf_f1: choosing the picture, the display range, the folder and the colour, and files
// dropped on the picture field.
#include "base/catalog.h"
#include "dialogs/options_form_win.h"
#include "dialogs/options_rules.h"
#include "dialogs/range_form_win.h"
#include "loading/picture.h"
#include "loading/picture_formats.h"
#include "toolkit/radio_group_win.h"

namespace kembo {

void Toptf_f1::InitPictureDialog() {
    opd1.title = Text(TextId::PictureDialogTitle);
    opd1.defaultExt = "*.bmp";
    // Fixed: a plug-in's format is reached through the first pair, all files.
    opd1.filter = Text(TextId::PictureDialogFilter);
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
    // 1. Without a picture file there is nothing to show, and nothing is said.
    const std::string fileName = Get<Edit>("ed_fn_bgg1").Text();
    if (!program_.files.FileExists(fileName)) return;

    // 2. Both go when this handler ends, whichever way (12); an unreadable picture raises here,
    // before the window shows, and the dialog stays as it was.
    Tsetgrngf_f9 range(App());
    TPicture picture(PictureFormats::Global(), program_.files);
    picture.LoadFromFile(fileName);
    const int32_t width = picture.Width();
    const int32_t height = picture.Height();

    const Bounds& last = program_.rangeWindowBounds;  // 3
    range.SetOpenerBounds(last.left, last.top, last.width, last.height);
    range.SetTitle(Text(TextId::RangeTitle));  // 4
    const long double zoom = RangeWindowZoom(width, height, program_.paths.screenWidth, program_.paths.screenHeight);
    range.SetZoom(zoom, zoom);  // 5
    range.SetPicture(picture);  // 6
    // 7. The ratio item chosen now, saved or not.
    const RatioRule rule = ChooseRatioRule(Get<RadioGroup>("rdg_val_frraito").ItemIndex(), width, height,
                                           mainWindowWidth, mainWindowHeight);
    range.SetRatioRule(rule.kind, rule.a, rule.b);
    range.SetInitialRange(StartingRange(workingRange, width, height));  // 8

    const ModalResult result = range.ShowModal(Handle());  // 9
    program_.rangeWindowBounds = Bounds{range.Left(), range.Top(), range.Width(), range.Height()};  // 10
    if (result != ModalResult::Ok) return;
    workingRange = RangeFromSelection(range.GetSelection(), width, height);  // 11
    UpdateRangeText();
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

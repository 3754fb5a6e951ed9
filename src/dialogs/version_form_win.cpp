#include "dialogs/version_form_win.h"

#include <shellapi.h>

#include <array>
#include <optional>

#include "core/message_boxes_win.h"
#include "dialogs/version_table.h"
#include "image/display_rules.h"
#include "image/pixel_ops.h"
#include "toolkit/application_win.h"
#include "toolkit/gdi_pixels_win.h"
#include "toolkit/glyph_button_win.h"
#include "toolkit/modal_win.h"
#include "toolkit/panels_win.h"
#include "toolkit/text_win.h"
#include "toolkit/window_text_win.h"
#include "toolkit/transparent_win.h"
#include "toolkit/version_info_win.h"

namespace kembo {

Tverbox7_f1::Tverbox7_f1(Application& app, HINSTANCE resources, SoundPort& sounds)
    : DialogForm(app, L"Tverbox7_f1"), resources_(resources), sounds_(sounds) {
    CreateDialogWindow(Text(TextId::VersionCaption), kVersionBoxClientWidth, kVersionBoxClientHeight,
                       Text(TextId::VersionFontFace), kVersionBoxFontHeight, UiCharset());
    BuildParts();
    FormCreate();
}

void Tverbox7_f1::BuildParts() {
    std::map<std::string, HWND> parents{{"", Handle()}};
    for (const VersionPart& row : VersionBoxParts()) {
        const HWND parent = parents.at(row.parent);
        const Bounds& designed = row.place;
        const Bounds place = Scale(designed);
        const int id = VersionPartId(row.name);
        Control* part = nullptr;
        switch (row.kind) {
        case VersionPartKind::Panel:
            part = &Own(std::make_unique<Panel>(parent, id, place, BevelStyle::Raised, BevelStyle::Lowered));
            break;
        case VersionPartKind::Picture:
            ig1 = std::make_unique<Image>(App(), parent, place.left, place.top, PixelBuffer(place.width, place.height));
            ig1Place_ = designed;
            SetWindowLongPtrW(ig1->Handle(), GWLP_ID, id);
            parents[row.name] = ig1->Handle();
            continue;
        case VersionPartKind::Icon:
            part = &Own(std::make_unique<IconView>(parent, id, place));
            break;
        case VersionPartKind::TextOnPicture:
            part = &Own(std::make_unique<TransparentLabel>(parent, id, Text(row.caption), place, Font()));
            break;
        case VersionPartKind::BevelBox:
            part = &Own(std::make_unique<BevelBox>(parent, id, place, BevelStyle::Lowered));
            break;
        case VersionPartKind::CentredLabel:
            part = &Own(std::make_unique<Label>(parent, id, Text(row.caption), place, Font(), TextAlign::Centre));
            break;
        case VersionPartKind::OkButton: {
            auto& button = Own(std::make_unique<GlyphButton>(parent, id, Text(row.caption), place, true));
            button.SetFont(FontOfHeight(kOkButtonFontHeight));
            GdiObject glyph(LoadBitmapW(resources_, Wide(kOkGlyphBitmap).c_str()));
            Lay(button, designed, kOkButtonFontHeight);
            button.SetGlyph(static_cast<HBITMAP>(glyph.Get()), kOkGlyphTransparent, kOkGlyphMargin);
            button.OnClick = [this] { OKButtonClick(); };
            SetDefaultButton(button);
            part = &button;
            break;
        }
        }
        if (row.kind != VersionPartKind::OkButton) Lay(*part, designed);
        parents[row.name] = part->Handle();
        parts_[row.name] = part;
    }
}

void Tverbox7_f1::SetPanelColor(Color color) {
    panelColor_ = color;
    Get<Panel>("Panel1").SetColor(color);
    FillAll(ig1->Bitmap(), ToBgr(color));
}

void Tverbox7_f1::SetLabelColor(Color color) {
    for (const char* name : {"ProductName", "Prgname", "Targname", "Version", "Copyright", "name1"}) {
        Get<TransparentLabel>(name).SetTextColor(color);
    }
}

void Tverbox7_f1::SetTitlePicture(const PixelBuffer& picture) {
    titlePicture_ = picture;
    ShowTitlePicture();
}

void Tverbox7_f1::ShowTitlePicture() {
    PixelBuffer& shown = ig1->Bitmap();
    FillAll(shown, ToBgr(panelColor_));
    CopyRect(titlePicture_, 0, 0, titlePicture_.Width(), titlePicture_.Height(), shown, 0, 0);
    InvalidateRect(ig1->Handle(), nullptr, FALSE);
}

void Tverbox7_f1::OnDpiChanged() {
    // The panel's picture grows with the panel; the title picture keeps its pixels.
    ig1->Place(Scale(ig1Place_));
    ShowTitlePicture();
}

void Tverbox7_f1::FormCreate() { closeAllowed = true; }

void Tverbox7_f1::FormShow() {
    Get<IconView>("ProgramIcon").SetIcon(IconHandle(ExtractIconW(App().Instance(), Wide(programPath).c_str(), 0)));
    for (const PartText& shown : VersionBoxTexts(versionTexts, userText)) Get<Control>(shown.part).SetText(shown.text);
    closeAllowed = false;
    sounds_.Play(Sound::Information);
}

void Tverbox7_f1::OKButtonClick() {
    closeAllowed = true;
    SetModalResult(ModalResult::Ok);
}

bool Tverbox7_f1::FormCloseQuery() {
    if (!closeAllowed) sounds_.Play(Sound::Default);
    return closeAllowed;
}

LRESULT Tverbox7_f1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SHOWWINDOW && wParam) FormShow();
    return DialogForm::HandleMessage(message, wParam, lParam);
}

void ShowVersionBox(Application& app, const ProgramPaths& paths, HWND opener, HINSTANCE resources) {
    if (!resources) resources = app.Instance();
    const FileVersionInfo info(paths.programPath);
    Tverbox7_f1 box(app, resources, SystemSounds());
    box.SetPanelColor(kVersionPanelColor);
    box.SetLabelColor(kVersionLabelColor);
    box.userText = paths.userName;
    box.programPath = paths.programPath;
    std::array<std::optional<std::string>, kVersionStringNames.size()> strings;
    for (std::size_t i = 0; i < strings.size(); ++i) {
        strings[i] = info.String(kVersionStringTable, kVersionStringNames[i]);
    }
    box.versionTexts = DeriveVersionTexts(VersionStrings{strings[0], strings[1], strings[2], strings[3]});
    // A missing picture leaves the panel's colour under the texts.
    if (std::optional<PixelBuffer> title = LoadBitmapPixels(resources, kVersionTitleBitmap)) {
        ScaleBrightness(*title, Rect{0, 0, title->Width(), title->Height()}, kTitleBrightness);
        box.SetTitlePicture(*title);
    }
    ShowModal(box, opener);
}

}  // namespace kembo

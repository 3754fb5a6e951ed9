// The drop target against OLE's own calls with a data object as the shell gives one, and the
// desktop shortcut read back through the shell's link object.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "base/errors.h"
#include "shell/drop_target_win.h"
#include "temp_folder.h"
#include "test_data_object.h"
#include "toolkit/com_win.h"
#include "toolkit/ole_win.h"
#include "toolkit/shell_link_win.h"
#include "toolkit/text_win.h"

namespace kembo {
namespace {

using testing::TestDataObject;

struct DropTargetTest : ::testing::Test {
    OleSession ole;
    const FORMATETC fileList{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    ComRef<AMdroptarget1> target{new AMdroptarget1(&fileList, 1)};
    int enters = 0, overs = 0, drops = 0;
    std::vector<std::string> dropped;

    void SetUp() override {
        target->OnDragEnter = [this](IDataObject*&, DWORD, DWORD&, POINTL) { ++enters; };
        target->OnDragOver = [this](IDataObject*&, DWORD, DWORD&, POINTL) { ++overs; };
        target->OnDrop = [this](IDataObject*& data, DWORD, DWORD&, POINTL) {
            ++drops;
            dropped = GetDroppedFiles(data);
        };
    }
};

TEST_F(DropTargetTest, EffectFollowsTheKeysWhileAFileListIsOver) {
    ComRef<TestDataObject> files(TestDataObject::Files({L"C:\\a.bmp"}));
    const POINTL at{10, 10};
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target->DragEnter(files.Get(), MK_LBUTTON, at, &effect), S_OK);
    EXPECT_EQ(effect, DWORD{DROPEFFECT_MOVE});
    EXPECT_EQ(files->References(), 2u);  // held while the drag is over the window
    const struct {
        DWORD keys;
        DWORD effect;
    } cases[] = {{MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY},
                 {MK_LBUTTON | MK_CONTROL | MK_SHIFT, DROPEFFECT_LINK},
                 {MK_LBUTTON | MK_SHIFT, DROPEFFECT_MOVE},
                 {MK_LBUTTON, DROPEFFECT_MOVE}};
    for (const auto& c : cases) {
        EXPECT_EQ(target->DragOver(c.keys, at, &effect), S_OK);
        EXPECT_EQ(effect, c.effect) << c.keys;
    }
    EXPECT_EQ(target->Drop(files.Get(), MK_CONTROL, at, &effect), S_OK);
    EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});
    EXPECT_EQ(files->References(), 1u);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(overs, 4);
    EXPECT_EQ(drops, 1);
}

TEST_F(DropTargetTest, PlainTextIsRefusedThroughoutAndCallsNoHandler) {
    ComRef<TestDataObject> text(TestDataObject::Text());
    const POINTL at{0, 0};
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->DragEnter(text.Get(), 0, at, &effect), S_OK);
    EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->DragOver(MK_CONTROL, at, &effect), S_OK);
    EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->Drop(text.Get(), 0, at, &effect), S_OK);
    EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
    EXPECT_EQ(enters + overs + drops, 0);
    EXPECT_EQ(text->References(), 1u);
    EXPECT_TRUE(GetDroppedFiles(text.Get()).empty());
}

TEST_F(DropTargetTest, DropGivesEveryNameWholeInOrder) {
    const std::wstring longName = L"C:\\" + std::wstring(253, L'x') + L".bmp";  // 260 characters
    ASSERT_EQ(longName.size(), 260u);
    const std::wstring japanese = L"C:\\写真\\海と空.bmp";  // outside the test's code page
    ComRef<TestDataObject> files(TestDataObject::Files({L"C:\\c.jpg", longName, japanese}));
    DWORD effect = 0;
    target->DragEnter(files.Get(), 0, POINTL{}, &effect);
    // The data object of Drop itself is not looked at: the one of the drag counts.
    ComRef<TestDataObject> other(TestDataObject::Text());
    target->Drop(other.Get(), 0, POINTL{}, &effect);
    EXPECT_EQ(effect, DWORD{DROPEFFECT_MOVE});
    ASSERT_EQ(dropped.size(), 3u);
    EXPECT_EQ(dropped[0], "C:\\c.jpg");
    EXPECT_EQ(dropped[1], Narrow(longName));
    EXPECT_EQ(dropped[2], Narrow(japanese));
    EXPECT_EQ(other->getDataCalls, 0);
}

TEST_F(DropTargetTest, LeaveThenDropGivesNoneAndCallsNoHandler) {
    ComRef<TestDataObject> files(TestDataObject::Files({L"C:\\a.bmp"}));
    DWORD effect = 0;
    target->DragEnter(files.Get(), 0, POINTL{}, &effect);
    EXPECT_EQ(target->DragLeave(), S_OK);
    EXPECT_EQ(files->References(), 1u);
    effect = DROPEFFECT_MOVE;
    target->Drop(files.Get(), 0, POINTL{}, &effect);
    EXPECT_EQ(effect, DWORD{DROPEFFECT_NONE});
    EXPECT_EQ(drops, 0);
}

TEST_F(DropTargetTest, AnErrorInTheHandlerStaysOnOurSide) {
    target->OnDrop = [](IDataObject*&, DWORD, DWORD&, POINTL) { throw Abort(); };
    ComRef<TestDataObject> files(TestDataObject::Files({L"C:\\a.bmp"}));
    DWORD effect = 0;
    target->DragEnter(files.Get(), MK_CONTROL, POINTL{}, &effect);
    EXPECT_EQ(target->Drop(files.Get(), MK_CONTROL, POINTL{}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});
    EXPECT_EQ(files->References(), 1u);
}

// What a link file holds, read through the shell's own link object.
struct LinkFields {
    std::wstring target;
    std::wstring workingFolder;
    std::wstring arguments;
    std::wstring iconFile;
    int iconIndex = -1;
};

LinkFields ReadLink(const std::wstring& path) {
    ComRef<IShellLinkW> link;
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.Receive()), S_OK);
    ComRef<IPersistFile> file;
    link->QueryInterface(IID_IPersistFile, file.Receive());
    EXPECT_EQ(file->Load(path.c_str(), STGM_READ), S_OK);
    LinkFields fields;
    wchar_t text[MAX_PATH * 2] = {};
    // The target as the shell resolves it: from the item list, which keeps names in UTF-16.
    LPITEMIDLIST items = nullptr;
    link->GetIDList(&items);
    if (items && SHGetPathFromIDListW(items, text)) fields.target = text;
    CoTaskMemFree(items);
    text[0] = 0;
    link->GetWorkingDirectory(text, MAX_PATH * 2);
    fields.workingFolder = text;
    text[0] = 0;
    link->GetArguments(text, MAX_PATH * 2);
    fields.arguments = text;
    text[0] = 0;
    link->GetIconLocation(text, MAX_PATH * 2, &fields.iconIndex);
    fields.iconFile = text;
    return fields;
}

TEST(ShellLinkTest, WrittenWholeInUtf16AndOverwritten) {
    OleSession ole;
    testing::TempFolder folder;
    // The program lives in a folder whose name the system code page cannot spell.
    const std::wstring programFolder = folder.File(L"額縁ΩЖ\\");
    CreateDirectoryW(programFolder.c_str(), nullptr);
    const std::wstring program = programFolder + L"KEMBO.EXE";
    testing::WriteWholeFile(program, "MZ");
    const std::wstring link = folder.File(L"KEMBO.lnk");
    WinShellLinks links;
    const ShellLink desktop{Narrow(program), Narrow(programFolder)};

    ASSERT_TRUE(links.WriteLink(Narrow(link), desktop));
    LinkFields fields = ReadLink(link);
    EXPECT_EQ(fields.target, program);
    EXPECT_EQ(fields.workingFolder, programFolder);
    EXPECT_EQ(fields.arguments, L"");
    EXPECT_EQ(links.LinkTarget(Narrow(link)), Narrow(program));

    // A second run writes the same file again.
    const std::string firstBytes = testing::ReadWholeFile(link);
    ASSERT_TRUE(links.WriteLink(Narrow(link), desktop));
    EXPECT_EQ(ReadLink(link).target, program);
    EXPECT_EQ(testing::ReadWholeFile(link).size(), firstBytes.size());

    // The logon link over it: a parameter and the program's icon as well.
    ASSERT_TRUE(links.WriteLink(Narrow(link), ShellLink{Narrow(program), Narrow(programFolder), "/logon", Narrow(program)}));
    fields = ReadLink(link);
    EXPECT_EQ(fields.target, program);
    EXPECT_EQ(fields.arguments, L"/logon");
    EXPECT_EQ(fields.iconFile, program);
    EXPECT_EQ(fields.iconIndex, 0);

    // Removed, and then nothing is there to read or remove.
    EXPECT_TRUE(links.RemoveLink(Narrow(link)));
    EXPECT_FALSE(testing::FileExists(link));
    EXPECT_EQ(links.LinkTarget(Narrow(link)), std::nullopt);
    EXPECT_TRUE(links.RemoveLink(Narrow(link)));
    // Something that is no link is not taken for one.
    testing::WriteWholeFile(link, "not a link");
    EXPECT_EQ(links.LinkTarget(Narrow(link)), std::nullopt);

    // A place where nothing can be saved is a failure, not an error.
    EXPECT_FALSE(links.WriteLink(Narrow(folder.File(L"missing\\KEMBO.lnk")), desktop));
}

}  // namespace
}  // namespace kembo

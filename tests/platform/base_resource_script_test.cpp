#include <gtest/gtest.h>

#include <string>

#include "platform/base/resource_script.h"

namespace {

constexpr const char* kScript = R"(// A sample of every kind
DIALOG 500 10 20 200 100
  CAPTION "Scale IP Address"
  FONT 9 "굴림" 700 1 129
  STYLE DS_MODALFRAME | WS_POPUP | WS_SYSMENU
  CONTROL 1000 EDIT "" 7 7 100 14 ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP WS_EX_CLIENTEDGE
  CONTROL 1083 SysIPAddress32 "" 7 26 100 14
  CONTROL 1005 "GridCtrl" "Custom1" 300 61 79 37 NOT WS_VISIBLE | WS_TABSTOP
  CONTROL IDC_STATIC STATIC 164 7 50 20 20 SS_BITMAP
  CONTROL 1 BUTTON "1. \"Name\"\tx" 143 7 50 14 0x1 | WS_TABSTOP
END

MENU 128
  POPUP "&File"
    ITEM 57600 "&New\tCtrl+N"
    SEPARATOR
    POPUP "Recent" GRAYED
      ITEM 57616 "File 1"
    END
    ITEM 57665 "E&xit" CHECKED
  END
  POPUP "&Help"
    ITEM 57664 "&About"
  END
END

ACCELERATORS 128
  KEY 57600 "n" VIRTKEY CONTROL
  KEY 57601 "^O"
  KEY 57634 VK_DELETE VIRTKEY SHIFT NOINVERT
  KEY 57636 VK_F6 VIRTKEY
END

STRINGTABLE
  128 "Tarnel\n\nTarnel\n\n\nTarnel.Document\nTarnel Document"
  57600 "새 문서"
END

TOOLBAR 128 16 15
  BUTTON 57600
  SEPARATOR
  BUTTON 57601
END

TOOLBAR 129 16 15 BITMAP 300
END
)";

std::string Describe(const std::vector<ResourceScriptError>& errors)
{
    std::string out;
    for (const ResourceScriptError& e : errors)
        out += std::to_string(e.line) + ": " + e.message.Str() + "\n";
    return out;
}

} // namespace

TEST(ResourceScriptTest, DialogWithControls)
{
    ResourceScript script;
    std::vector<ResourceScriptError> errors;
    ASSERT_TRUE(ParseResourceScript(kScript, "sample.rc", script, &errors)) << Describe(errors);
    ASSERT_EQ(script.dialogs.size(), 1u);
    const DialogTemplate& d = script.dialogs[0];
    EXPECT_EQ(d.id, 500u);
    EXPECT_EQ(d.caption, "Scale IP Address");
    EXPECT_EQ(d.x, 10);
    EXPECT_EQ(d.cy, 100);
    // STYLE as given, plus WS_CAPTION for the caption and DS_SETFONT for the font.
    EXPECT_EQ(d.style, 0x80000080u | 0x00080000u | 0x00C00000u | 0x40u);
    EXPECT_EQ(d.fontName, "굴림");
    EXPECT_EQ(d.fontPointSize, 9);
    EXPECT_EQ(d.fontWeight, 700);
    EXPECT_TRUE(d.fontItalic);
    EXPECT_EQ(d.fontCharset, 129);
    ASSERT_EQ(d.items.size(), 5u);

    const DialogItemTemplate& edit = d.items[0];
    EXPECT_EQ(edit.id, 1000u);
    EXPECT_EQ(edit.className, "EDIT");
    EXPECT_EQ(edit.style, 0x40000000u | 0x10000000u | 0x80u | 0x00800000u | 0x00010000u);
    EXPECT_EQ(edit.exStyle, 0x200u);
    EXPECT_EQ(d.items[1].className, "SysIPAddress32");
    EXPECT_EQ(d.items[1].style, 0x50000000u);

    const DialogItemTemplate* grid = d.FindItem(1005);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->className, "GridCtrl");
    EXPECT_EQ(grid->text, "Custom1");
    EXPECT_EQ(grid->style, 0x40000000u | 0x00010000u); // hidden, still a child

    EXPECT_EQ(d.items[3].id, 0xFFFFu);
    EXPECT_EQ(d.items[3].textResourceId, 164u);
    EXPECT_TRUE(d.items[3].text.IsEmpty());
    EXPECT_EQ(d.items[4].text, "1. \"Name\"\tx");
    EXPECT_EQ(d.items[4].style & 0xF, 1u);
    EXPECT_EQ(d.FindItem(4242), nullptr);
}

TEST(ResourceScriptTest, MenuTreeCarriesTemplateFlags)
{
    ResourceScript script;
    ASSERT_TRUE(ParseResourceScript(kScript, "sample.rc", script, nullptr));
    ASSERT_EQ(script.menus.size(), 1u);
    const auto& bar = script.menus[0].items;
    ASSERT_EQ(bar.size(), 2u);
    EXPECT_TRUE(bar[0].IsPopup());
    EXPECT_EQ(bar[0].text, "&File");
    EXPECT_EQ(bar[1].flags, MenuItemTemplate::kPopup | MenuItemTemplate::kEnd);

    const auto& file = bar[0].children;
    ASSERT_EQ(file.size(), 4u);
    EXPECT_EQ(file[0].id, 57600u);
    EXPECT_EQ(file[0].text, "&New\tCtrl+N");
    EXPECT_TRUE(file[1].IsSeparator());
    EXPECT_EQ(file[2].flags, MenuItemTemplate::kPopup | MenuItemTemplate::kGrayed);
    ASSERT_EQ(file[2].children.size(), 1u);
    EXPECT_EQ(file[2].children[0].flags, MenuItemTemplate::kEnd);
    EXPECT_EQ(file[3].flags, MenuItemTemplate::kChecked | MenuItemTemplate::kEnd);
}

TEST(ResourceScriptTest, AcceleratorsStringsAndToolbars)
{
    ResourceScript script;
    ASSERT_TRUE(ParseResourceScript(kScript, "sample.rc", script, nullptr));
    ASSERT_EQ(script.accelerators.size(), 1u);
    const auto& keys = script.accelerators[0].entries;
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].key, 'N');
    EXPECT_EQ(keys[0].flags, AcceleratorEntry::kVirtKey | AcceleratorEntry::kControl);
    EXPECT_EQ(keys[1].key, 15); // Ctrl+O as a character
    EXPECT_EQ(keys[1].flags, 0);
    EXPECT_EQ(keys[2].key, 0x2E);
    EXPECT_EQ(
        keys[2].flags, AcceleratorEntry::kVirtKey | AcceleratorEntry::kShift | AcceleratorEntry::kNoInvert);
    EXPECT_EQ(keys[3].key, 0x75);

    ASSERT_EQ(script.strings.size(), 2u);
    EXPECT_EQ(script.strings[0].second, "Tarnel\n\nTarnel\n\n\nTarnel.Document\nTarnel Document");
    EXPECT_EQ(script.strings[1].second, "새 문서");

    ASSERT_EQ(script.toolbars.size(), 2u);
    EXPECT_EQ(script.toolbars[0].items, (std::vector<UINT> { 57600, 0, 57601 }));
    EXPECT_EQ(script.toolbars[0].bitmapId, 128u);
    EXPECT_EQ(script.toolbars[0].buttonWidth, 16);
    EXPECT_EQ(script.toolbars[1].bitmapId, 300u);
    EXPECT_TRUE(script.toolbars[1].items.empty());
}

TEST(ResourceScriptTest, ErrorsCarryLineNumbersAndParsingGoesOn)
{
    const char* bad = "DIALOG 1 0 0 10 10\n" // 1
                      "  CONTROL 5 EDIT \"x\" 1 2 3\n" // 2: missing height
                      "  CONTROL 6 EDIT \"ok\" 1 2 3 4 WS_BOGUS\n" // 3: unknown style
                      "  CONTROL 7 EDIT \"ok\" 1 2 3 4\n" // 4: fine
                      "  CAPTION \"late\"\n" // 5: after controls
                      "END\n" // 6
                      "MENU 70000\n" // 7: id too big, block skipped
                      "  POPUP \"x\"\n" // 8
                      "    ITEM 1 \"a\"\n" // 9
                      "  END\n" // 10
                      "END\n" // 11
                      "STRINGTABLE\n" // 12
                      "  5 \"unterminated\n" // 13
                      "  6 \"fine\"\n" // 14
                      "END\n" // 15
                      "END\n" // 16: stray END
                      "WIDGET 4\n" // 17: unknown statement
                      "ACCELERATORS 3\n" // 18
                      "  KEY 1 \"ab\"\n" // 19: key too long
                      "  KEY 2 \"a\" SHIFT\n" // 20: SHIFT needs VIRTKEY
                      "TOOLBAR 9 16 15\n"; // 21: ACCELERATORS never closed
    ResourceScript script;
    std::vector<ResourceScriptError> errors;
    EXPECT_FALSE(ParseResourceScript(bad, "bad.rc", script, &errors));
    std::vector<int> lines;
    for (const ResourceScriptError& e : errors) {
        lines.push_back(e.line);
        EXPECT_EQ(e.source, "bad.rc");
        EXPECT_FALSE(e.message.IsEmpty());
    }
    EXPECT_EQ(lines, (std::vector<int> { 2, 3, 5, 7, 13, 16, 17, 19, 20, 21, 18 })) << Describe(errors);
    ASSERT_EQ(script.dialogs.size(), 1u);
    ASSERT_EQ(script.dialogs[0].items.size(), 1u);
    EXPECT_EQ(script.dialogs[0].items[0].id, 7u);
    EXPECT_TRUE(script.menus.empty());
    ASSERT_EQ(script.strings.size(), 1u);
    EXPECT_EQ(script.strings[0].first, 6u);
}

TEST(ResourceScriptTest, GarbageNeverCrashes)
{
    const std::string inputs[] = { "", "\n\n", "END", "DIALOG", "DIALOG 1 2 3 4 5\nCONTROL", "\"",
        "MENU 1\nPOPUP", "MENU 1\nEND\nEND", std::string("DIALOG 1 0 0 1 1\n\0\xFF\xFE\n", 22),
        "TOOLBAR 1 1 1\nBUTTON 0\nEND", "DIALOG 0x 1 1 1 1", "STRINGTABLE\n-5 \"x\"\nEND",
        "DIALOG 1 0 0 1 1\nSTYLE |\nEND" };
    for (const std::string& input : inputs) {
        ResourceScript script;
        std::vector<ResourceScriptError> errors;
        ParseResourceScript(input, "garbage", script, &errors);
        for (const ResourceScriptError& e : errors)
            EXPECT_GE(e.line, 1);
    }
}

TEST(ResourceScriptTest, AddedScriptsAreFoundByKindAndId)
{
    ASSERT_TRUE(AfxAddResourceScript("DIALOG 61001 0 0 10 10\nEND\nMENU 61001\n ITEM 5 \"x\"\nEND\n"
                                     "STRINGTABLE\n61001 \"text\"\nEND\n",
        "added"));
    EXPECT_NE(AfxFindDialogTemplate(61001), nullptr);
    EXPECT_NE(AfxFindMenuTemplate(61001), nullptr);
    EXPECT_EQ(AfxFindAcceleratorTable(61001), nullptr);
    EXPECT_EQ(AfxFindToolbarTemplate(61001), nullptr);
    CString text = "keep";
    EXPECT_FALSE(AfxLoadString(61002, text));
    EXPECT_EQ(text, "keep");
    EXPECT_TRUE(AfxLoadString(61001, text));
    EXPECT_EQ(text, "text");

    // A later definition replaces the earlier one in place.
    const DialogTemplate* before = AfxFindDialogTemplate(61001);
    ASSERT_TRUE(AfxAddResourceScript("DIALOG 61001 0 0 20 20\nCAPTION \"new\"\nEND\n", "again"));
    EXPECT_EQ(AfxFindDialogTemplate(61001), before);
    EXPECT_EQ(before->caption, "new");
}

TEST(ResourceScriptTest, EmbeddedMailboxDialog)
{
    EXPECT_TRUE(AfxGetResourceScriptErrors().empty());
    const DialogTemplate* mailbox = AfxFindDialogTemplate(132);
    ASSERT_NE(mailbox, nullptr);
    EXPECT_EQ(mailbox->caption, "클립보드");
    for (UINT id : { 1006u, 1003u, 1002u }) {
        const DialogItemTemplate* edit = mailbox->FindItem(id);
        ASSERT_NE(edit, nullptr) << id;
        EXPECT_EQ(edit->className.CompareNoCase("EDIT"), 0);
    }
    for (UINT id : { 1u, 2u }) {
        const DialogItemTemplate* button = mailbox->FindItem(id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->className.CompareNoCase("BUTTON"), 0);
    }
    EXPECT_EQ(mailbox->FindItem(1)->text, "OK");
    EXPECT_EQ(mailbox->FindItem(2)->text, "Cancel");
}

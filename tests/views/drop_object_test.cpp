// Drops from other programs through the real drop target, a data object built here and
// the program button bar as a window in this process.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../shell/start_record.h"
#include "framework/com_object.h"
#include "framework/data_transfer.h"
#include "model/data_path.h"
#include "model/pidl.h"
#include "model/preferences.h"
#include "model/voice_book.h"
#include "setup/folder_fill.h"
#include "support/lark_process.h"
#include "support/document_fixture.h"
#include "support/test_util.h"
#include "views/drop_object.h"
#include "views/program_toolbar.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A data object offering fixed blocks as global memory.
class BlockData final : public fw::ComObject<IDataObject> {
public:
    std::vector<std::pair<CLIPFORMAT, Bytes>> blocks;

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        const Bytes* block = Find(format);
        if (!block || !medium)
            return DV_E_FORMATETC;
        fw::GlobalMemory memory = fw::AllocGlobal(block->size());
        fw::GlobalLockScope<uint8_t> lock(memory.get());
        if (!lock)
            return E_OUTOFMEMORY;
        std::copy(block->begin(), block->end(), lock.get());
        *medium = STGMEDIUM{};
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory.release();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return Find(format) ? S_OK : DV_E_FORMATETC;
    }
    // Nothing else is asked of a dropped data object.
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    const Bytes* Find(const FORMATETC* format) const {
        for (const auto& [cf, block] : blocks)
            if (format && format->cfFormat == cf && (format->tymed & TYMED_HGLOBAL))
                return &block;
        return nullptr;
    }
};

// A wide file list of `paths`.
Bytes FileList(const std::vector<std::wstring>& paths) {
    DROPFILES header{};
    header.pFiles = sizeof(header);
    header.fWide = TRUE;
    Bytes b(reinterpret_cast<const uint8_t*>(&header),
            reinterpret_cast<const uint8_t*>(&header) + sizeof(header));
    for (const std::wstring& p : paths)
        for (size_t i = 0; i <= p.size(); ++i) {
            b.push_back(static_cast<uint8_t>(p.c_str()[i]));
            b.push_back(static_cast<uint8_t>(p.c_str()[i] >> 8));
        }
    b.insert(b.end(), {0, 0});
    return b;
}

class DropObjectTest : public test::DocumentTest {
protected:
    void SetUp() override {
        test::DocumentTest::SetUp();
        oVoiceBook tree;
        tree.ResetAll(L"ToolBar");
        oVoiceBook* tools = tree.AddChild(NewNodeFields(L"Tools", KIND_ITEM, 2));
        for (const wchar_t* name : {L"One", L"Two"})
            tools->AddChild(ButtonFields(name, shelltest::HelperPath()));
        tree.AddChild(NewNodeFields(L"Other", KIND_ITEM, 2));
        tree.SetCommand(L"Tools");
        ASSERT_TRUE(tree.SaveFile(test::DataFolder() + L"\\" + model::kCurrentDataFile));
        parent_ = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"drop test", WS_POPUP | WS_VISIBLE,
                                    100, 100, 600, 90, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent_) << ::GetLastError();
        prefs_.ViewGroupButtonMethod = VIEW_ICON_BUTTONS | VIEW_TAB_STRIP;
        bar_ = std::make_unique<CProgramToolBar>();
        bar_->SetDocument(doc_.get());
        ASSERT_TRUE(bar_->Create(RECT{0, 0, 600, 90}, parent_, 6000, &prefs_, metrics_))
            << ::GetLastError();
        drop_ = fw::MakeComObject<views::CDropObject>(*bar_,
                                                      [this](bool on) { holds_ += on ? 1 : -1; });
        ASSERT_TRUE(drop_);
    }
    void DropWindows() override {
        drop_.reset();
        bar_.reset();
        ::DestroyWindow(parent_);
    }

    oVoiceBook* Tools() const { return Root().FirstChild(); }
    std::vector<std::wstring> Names(const oVoiceBook* category) const {
        std::vector<std::wstring> names;
        for (oVoiceBook* n = category->FirstChild(); n; n = n->Next())
            names.push_back(n->m_strName);
        return names;
    }
    // A point in the window of `node`'s button: `fx` of the way across, half way down.
    POINTL At(const oVoiceBook* node, double fx) const {
        RECT r{};
        CBookButton* button = bar_->FindButtonWindow(node);
        if (!button || !::GetWindowRect(button->hwnd(), &r))
            ADD_FAILURE() << "no button window, error " << ::GetLastError();
        return POINTL{r.left + static_cast<LONG>((r.right - r.left) * fx), (r.top + r.bottom) / 2};
    }
    // Drags `data` in, over the point, and drops it: the effects of the drag and the drop.
    std::pair<DWORD, DWORD> DragAndDrop(const fw::ComPtr<BlockData>& data, POINTL at) {
        const DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        DWORD over = all, dropped = all;
        EXPECT_EQ(drop_->DragEnter(data.get(), 0, at, &over), S_OK);
        over = all;
        EXPECT_EQ(drop_->DragOver(0, at, &over), S_OK);
        EXPECT_EQ(drop_->Drop(data.get(), 0, at, &dropped), S_OK);
        EXPECT_EQ(holds_, 0) << "the hold is not given back";
        return {over, dropped};
    }
    fw::ComPtr<BlockData> Files(const std::vector<std::wstring>& paths) {
        auto data = fw::MakeComObject<BlockData>();
        data->blocks.push_back({CF_HDROP, FileList(paths)});
        return data;
    }

    Preferences prefs_;
    views::ButtonMetrics metrics_{{40, 40}, {2, 2}}; // the large buttons
    HWND parent_ = nullptr;
    std::unique_ptr<CProgramToolBar> bar_;
    fw::ComPtr<views::CDropObject> drop_;
    int holds_ = 0;
    test::TempDir dir_;
};

} // namespace

TEST_F(DropObjectTest, FilesGoAfterTheButtonInReverseOrderAndTheSourceKeepsThem) {
    const std::wstring prog = dir_.path() + L"\\prog.exe";
    ASSERT_TRUE(test::WriteTextFile(prog, "x"));
    oVoiceBook* one = Tools()->FirstChild();
    const auto [over, dropped] = DragAndDrop(Files({prog}), At(one, 0.95));
    EXPECT_EQ(over, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(dropped, static_cast<DWORD>(DROPEFFECT_COPY)) << "never a move";
    ASSERT_EQ(Names(Tools()).size(), 3u);
    const oVoiceBook* added = one->Next();
    EXPECT_EQ(added->m_strName, setup::FileTitle(prog));
    EXPECT_EQ(added->m_strCommand, prog);
    EXPECT_EQ(added->m_nFlags, 2u);
    EXPECT_TRUE(bar_->FindButtonWindow(added)) << "the bar shows the new button";

    std::vector<std::wstring> three;
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) {
        three.push_back(dir_.path() + L"\\" + name);
        ASSERT_TRUE(test::WriteTextFile(three.back(), "x"));
    }
    DragAndDrop(Files(three), At(one, 0.05));
    std::vector<std::wstring> commands;
    for (oVoiceBook* n = one->Next(); commands.size() < 3; n = n->Next())
        commands.push_back(n->m_strCommand);
    EXPECT_EQ(commands, (std::vector<std::wstring>{three[2], three[1], three[0]}));
}

TEST_F(DropObjectTest, AnInternetShortcutTakesItsAddressAndTheWebPicture) {
    const std::wstring url = dir_.path() + L"\\site.url";
    ASSERT_TRUE(test::WriteTextFile(url, "[InternetShortcut]\r\nURL=http://example.org/x\r\n"));
    oVoiceBook* two = Tools()->FirstChild()->Next();
    DragAndDrop(Files({url}), At(two, 0.9));
    ASSERT_TRUE(two->Next());
    EXPECT_EQ(two->Next()->m_strCommand, L"http://example.org/x");
    EXPECT_EQ(two->Next()->m_nDefaultImage, 10);
}

TEST_F(DropObjectTest, ADocumentOnTheMiddleOfAProgramOpensWithItOnTheEdgeItIsAdded) {
    const std::wstring record = dir_.path() + L"\\record.txt";
    shelltest::RecordInto(record);
    const std::wstring doc = dir_.path() + L"\\letter.txt";
    ASSERT_TRUE(test::WriteTextFile(doc, "x"));
    oVoiceBook* one = Tools()->FirstChild();
    const auto [over, dropped] = DragAndDrop(Files({doc}), At(one, 0.5));
    EXPECT_EQ(over, static_cast<DWORD>(DROPEFFECT_MOVE)) << "into the program";
    EXPECT_EQ(dropped, static_cast<DWORD>(DROPEFFECT_COPY)) << "never a move";
    shelltest::StartRecord started;
    ASSERT_TRUE(shelltest::WaitForRecord(record, started)) << "the program did not start";
    EXPECT_NE(started.commandLine.find(doc), std::wstring::npos) << started.commandLine;
    EXPECT_EQ(Names(Tools()).size(), 2u) << "nothing is added";
    ::SetEnvironmentVariableW(L"LARK_RECORD_FILE", nullptr);

    DragAndDrop(Files({doc}), At(one, 0.02));
    ASSERT_EQ(Names(Tools()).size(), 3u);
    EXPECT_EQ(one->Next()->m_strCommand, doc);
}

TEST_F(DropObjectTest, OntoATabTheCategoryTakesItAndIsShown) {
    const std::wstring doc = dir_.path() + L"\\memo.txt";
    ASSERT_TRUE(test::WriteTextFile(doc, "x"));
    const CTabViewWnd& tabs = bar_->Tabs();
    ASSERT_TRUE(::IsWindowVisible(tabs.hwnd()));
    ASSERT_EQ(tabs.TabCount(), 2);
    RECT strip{};
    ::GetWindowRect(tabs.hwnd(), &strip);
    const oTabInfo& other = tabs.Tab(1);
    const POINTL at{strip.left + (other.left + other.right) / 2,
                    strip.top + (other.top + other.bottom) / 2};
    DragAndDrop(Files({doc}), at);
    oVoiceBook* target = Tools()->Next();
    EXPECT_EQ(Names(target), std::vector<std::wstring>{setup::FileTitle(doc)});
    EXPECT_EQ(bar_->CurrentCategory(), target);
}

TEST_F(DropObjectTest, BrokenBlocksChangeNothing) {
    const CLIPFORMAT items =
        static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"Shell IDList Array"));
    const CLIPFORMAT address =
        static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"UniformResourceLocator"));
    Bytes farOffset = FileList({L"C:\\x.exe"});
    farOffset[0] = 0xF0;
    farOffset[1] = 0xFF;
    const Bytes hugeCount{0xFF, 0xFF, 0xFF, 0x7F, 8, 0, 0, 0};
    const Bytes unended{'h', 't', 't', 'p', ':', '/', '/'};
    for (auto block : {std::make_pair(CLIPFORMAT(CF_HDROP), farOffset),
                       std::make_pair(items, hugeCount), std::make_pair(address, unended)}) {
        auto data = fw::MakeComObject<BlockData>();
        data->blocks.push_back(block);
        DragAndDrop(data, At(Tools()->FirstChild(), 0.9));
        EXPECT_EQ(Names(Tools()), (std::vector<std::wstring>{L"One", L"Two"}));
    }
}

TEST_F(DropObjectTest, AShellItemWithoutAPathKeepsItsListAndDisplayName) {
    fw::Pidl controls;
    ASSERT_EQ(::SHGetSpecialFolderLocation(nullptr, CSIDL_CONTROLS, controls.put()), S_OK);
    // One item below the desktop (an empty parent list).
    Bytes block{1, 0, 0, 0, 12, 0, 0, 0, 14, 0, 0, 0, 0, 0};
    const auto* item = reinterpret_cast<const uint8_t*>(controls.get());
    block.insert(block.end(), item, item + model::PidlSize(controls.get()));
    auto data = fw::MakeComObject<BlockData>();
    data->blocks.push_back(
        {static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"Shell IDList Array")), block});
    oVoiceBook* one = Tools()->FirstChild();
    DragAndDrop(data, At(one, 0.95));
    const oVoiceBook* added = one->Next();
    ASSERT_NE(added->m_strName, L"Two");
    EXPECT_FALSE(added->m_strName.empty());
    EXPECT_TRUE(added->m_strCommand.empty());
    EXPECT_TRUE(::ILIsEqual(added->m_pidl.get(), controls.get()));
}

TEST_F(DropObjectTest, OntoACategoryButtonEvenItsEdgeTheCategoryTakesItAndIsShown) {
    const std::wstring doc = dir_.path() + L"\\note.txt";
    ASSERT_TRUE(test::WriteTextFile(doc, "x"));
    oVoiceBook* other = Tools()->Next();
    const auto [over, dropped] = DragAndDrop(Files({doc}), At(other, 0.05));
    EXPECT_EQ(over, static_cast<DWORD>(DROPEFFECT_MOVE)) << "into the category";
    EXPECT_EQ(dropped, static_cast<DWORD>(DROPEFFECT_COPY)) << "never a move";
    EXPECT_EQ(Names(other), std::vector<std::wstring>{setup::FileTitle(doc)});
    EXPECT_EQ(bar_->CurrentCategory(), other);
    EXPECT_EQ(bar_->CurrentTopCategory(), other);
}

TEST_F(DropObjectTest, BesideTheButtonsOfASubCategoryPagedOneStepAFileStartsTheCategory) {
    oVoiceBook* sub = Tools()->AddChild(NewNodeFields(L"Sub", KIND_ITEM, 2));
    for (const wchar_t* name : {L"S1", L"S2"})
        sub->AddChild(ButtonFields(name, shelltest::HelperPath()));
    bar_->ShowCategory(sub, true);
    ::SendMessageW(bar_->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    ASSERT_EQ(bar_->FirstVisible(), 1) << "paged past Go Up";
    // Just before the first shown button, where no button is.
    const POINTL first = At(sub->FirstChild(), 0);
    const POINTL at{first.x - 1, first.y};
    ASSERT_EQ(bar_->DropTargetAt(true, false, POINT{at.x, at.y}), nullptr);
    const std::wstring doc = dir_.path() + L"\\paged.txt";
    ASSERT_TRUE(test::WriteTextFile(doc, "x"));
    DragAndDrop(Files({doc}), at);
    EXPECT_EQ(Names(sub), (std::vector<std::wstring>{setup::FileTitle(doc), L"S1", L"S2"}));
    EXPECT_TRUE(bar_->FindButtonWindow(sub->FirstChild())) << "the bar shows the new button";
}

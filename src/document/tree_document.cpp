#include "document/tree_document.h"

#include <algorithm>
#include <utility>

#include "framework/wait_cursor.h"
#include "model/data_file.h"
#include "model/data_file_writer.h"
#include "model/data_path.h"
#include "model/file_replace.h"
#include "model/held_file_reader.h"
#include "model/keep_aside.h"
#include "model/voice_book.h"
#include "shell/messages.h"

namespace document {

TreeDocument::TreeDocument() : m_root(std::make_unique<oVoiceBook>()) {
    m_makeWriter = [](HWND host, UINT message) {
        return std::make_unique<model::DataFileWriter>(host, message);
    };
}

TreeDocument::~TreeDocument() {
    Close();
}

oVoiceBook* TreeDocument::Find(uint64_t serial) const {
    return serial ? static_cast<oVoiceBook*>(m_root->FindBySerial(serial)) : nullptr;
}

void TreeDocument::AddListener(TreeListener* listener) {
    if (listener &&
        std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void TreeDocument::RemoveListener(TreeListener* listener) {
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener),
                      m_listeners.end());
}

// ---- reading ------------------------------------------------------------------------------

void TreeDocument::Open(HWND host, HWND owner) {
    Close();
    m_host = host;
    m_owner = owner;
    m_countdown = SaveCountdown();
    m_nSaveTicket = m_nReportedTicket = m_nSupersededTicket = 0;
    m_strLoadNotice.clear();
    StartupLoad load;
    {
        fw::WaitCursor wait;
        load = LoadTreeAtStartup(*m_root, owner);
    }
    if (load.source == TreeSource::Waiting) {
        // Read on another thread: the host answers meanwhile, and says why it is empty.
        m_bFirstRun = false;
        m_heldReader = std::make_unique<model::HeldFileReader>(
            host, WM_LARK_HELD_FILE_READ, model::DataFilePath(model::kDataFileName));
    } else {
        TakeLoad(load);
    }
    m_writer = m_makeWriter ? m_makeWriter(host, WM_LARK_SAVE_DONE) : nullptr;
}

void TreeDocument::Close() {
    m_heldReader.reset();
    // What is pending was saved by the exit; a save still being written is finished (within
    // the writer's bounds) before the thread ends.
    m_writer.reset();
    m_host = nullptr;
}

void TreeDocument::LoadHeldFile() {
    if (!m_heldReader)
        return;
    std::vector<uint8_t> bytes;
    const model::ReadResult read = m_heldReader->Take(bytes);
    m_heldReader.reset();
    // Whatever the user made on the empty bar is theirs and stays.
    const bool edited = IsSavePending() || m_root->HasChildren();
    StartupLoad load;
    {
        fw::WaitCursor wait;
        load = LoadHeldDataFile(*m_root, read, bytes, edited, m_owner);
    }
    TakeLoad(load);
    for (TreeListener* listener : std::vector<TreeListener*>(m_listeners))
        listener->TreeRead(!edited);
}

void TreeDocument::TakeLoad(const StartupLoad& load) {
    m_bFirstRun = load.source == TreeSource::FirstRun;
    // The tree shown is not in the file, which may not be written over yet: the save stays
    // pending and is tried again until it can be.
    if (model::IsProtected(model::DataFilePath(model::kDataFileName)))
        MarkModified();
    m_strLoadNotice = StartupNoticeText(load);
    if (!m_strLoadNotice.empty() && m_host)
        ::PostMessageW(m_host, WM_LARK_LOAD_NOTICE, 0, 0);
}

void TreeDocument::ShowLoadNotice() {
    const std::wstring text = std::exchange(m_strLoadNotice, std::wstring());
    if (!text.empty())
        shell::ShowMessage(::GetAncestor(m_host, GA_ROOT), text, MB_OK | MB_ICONINFORMATION);
}

bool TreeDocument::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_LARK_LOAD_NOTICE:
        ShowLoadNotice();
        return true;
    case WM_LARK_HELD_FILE_READ:
        LoadHeldFile();
        return true;
    case WM_LARK_SAVE_DONE:
        SaveDone(static_cast<uint32_t>(wp), lp != 0);
        return true;
    default:
        return false;
    }
}

// ---- changes ------------------------------------------------------------------------------

void TreeDocument::WillChange(const oVoiceBook& subtree, bool self, TreeListener::Change change) {
    ++m_nChanges;
    // A listener may stop listening while it is told.
    for (TreeListener* listener : std::vector<TreeListener*>(m_listeners))
        listener->NodesChanging(subtree, self, change);
}

void TreeDocument::Remove(oVoiceBook& node) {
    oVoiceBook* parent = node.Parent();
    if (!parent)
        return;
    WillChange(node, true, TreeListener::Change::Deleting);
    parent->RemoveChild(&node);
}

void TreeDocument::DeleteChildren(oVoiceBook& category) {
    WillChange(category, false, TreeListener::Change::Deleting);
    category.DeleteChildren();
}

void TreeDocument::NoteCategoryShown(const oVoiceBook& category) {
    // The category the file already records (as at every start) is no change to write.
    if (m_root->m_strCommand == category.m_strName)
        return;
    m_root->SetCommand(category.m_strName.c_str());
    m_countdown.Restart();
}

// ---- saving -------------------------------------------------------------------------------

void TreeDocument::Tick() {
    if (m_countdown.Tick())
        StartSave();
}

bool TreeDocument::IsSaveUnderWay() const noexcept {
    return m_nSaveTicket > m_nReportedTicket && m_nSaveTicket > m_nSupersededTicket;
}

void TreeDocument::StartSave() {
    // Not before the file held at start-up has been read: what is in it decides.
    if (m_heldReader) {
        m_countdown.SaveFailed();
        return;
    }
    const std::wstring path = model::DataFilePath(model::kDataFileName);
    std::vector<uint8_t> image;
    bool built = false;
    {
        fw::WaitCursor wait;
        built = model::BuildDataFileImage(*m_root, model::kSaveFormat, image);
    }
    if (!built) {
        m_countdown.SaveFailed();
        return;
    }
    if (m_writer) {
        if (const uint32_t ticket = m_writer->Submit(path, std::move(image))) {
            m_nSaveTicket = ticket;
            return;
        }
    }
    // Without a writer (it could not start, or was stopped at the end of a session) the
    // image is written here.
    fw::WaitCursor wait;
    if (model::ReplaceFileAtomically(path, image.data(), image.size()))
        m_nSupersededTicket = m_nSaveTicket;
    else
        m_countdown.SaveFailed();
}

void TreeDocument::SaveDone(uint32_t ticket, bool replaced) {
    if (ticket > m_nReportedTicket)
        m_nReportedTicket = ticket;
    // A failed write leaves the change pending: the countdown tries again, and so does the
    // exit. A save made here since covers it.
    if (!replaced && ticket > m_nSupersededTicket)
        m_countdown.SaveFailed();
}

void TreeDocument::SaveNow() {
    fw::WaitCursor wait;
    if (m_root->SaveFile(model::DataFilePath(model::kDataFileName)))
        m_nSupersededTicket = m_nSaveTicket;
    else
        m_countdown.SaveFailed();
}

void TreeDocument::SaveIfPending(DWORD maxWaitMs) {
    // Still held: the changes are saved only if the file can be copied first.
    m_heldReader.reset();
    bool save = m_countdown.TakePending();
    if (m_writer) {
        // The writer finishes first, so that nothing it writes can come after the save
        // made here. One that does not finish in time is abandoned: it can no longer
        // replace the file, later saves are made here, and the tree is written now.
        fw::WaitCursor wait;
        if (m_writer->WaitIdle(maxWaitMs)) {
            // Its outcome may not have come back as a message yet.
            const model::DataFileWriter::Outcome last = m_writer->LastOutcome();
            if (last.ticket == m_nSaveTicket && last.replaced)
                m_nSupersededTicket = m_nSaveTicket; // late failure reports change nothing
            else if (m_nSaveTicket > m_nSupersededTicket)
                save = true;
        } else {
            // Given up: its own file beside is not ours, and it can no longer swap it in.
            m_writer->Stop(0);
            m_writer.reset();
            save = true;
        }
    }
    if (save)
        SaveNow();
}

} // namespace document

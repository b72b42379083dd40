#include "document/tree_document.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

#include "framework/resources.h"
#include "framework/text.h"
#include "framework/wait_cursor.h"
#include "model/data_file.h"
#include "model/data_file_writer.h"
#include "model/data_path.h"
#include "model/file_replace.h"
#include "model/held_file_reader.h"
#include "model/keep_aside.h"
#include "model/staged_read.h"
#include "model/tree_text.h"
#include "model/voice_book.h"
#include "resource.h"
#include "shell/messages.h"

namespace document {
namespace {

std::wstring DataFile() {
    return model::DataFilePath(model::kDataFileName);
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// The stamp of the file a staged read has, a piece at a time; none when it could not be
// seen whole again.
std::optional<FileStamp> StampOfImage(model::StagedTreeRead& read) {
    StampHash hash;
    if (!read.VisitImage([&](const uint8_t* data, size_t size) { hash.Add(data, size); }))
        return std::nullopt;
    return hash.Stamp();
}

} // namespace

struct TreeDocument::RestOfTree {
    std::unique_ptr<model::StagedTreeRead> read;
    StartupLoad load;
    uint64_t startSerial = 0; // the category read at once
    bool startWhole = true;   // all of it
    std::atomic<bool> stop{false};
    std::optional<FileStamp> stamp; // of the bytes, made by the worker
    bool begun = false;             // the rest is being read, or has been
    std::thread worker;
};

TreeDocument::TreeDocument()
    : m_root(std::make_unique<oVoiceBook>()), m_file(std::make_shared<KnownFile>()) {
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
    m_bCutShort = false;
    m_host = host;
    m_owner = owner;
    m_countdown = SaveCountdown();
    m_nSaveTicket = m_nReportedTicket = m_nSupersededTicket = 0;
    m_strLoadNotice.clear();
    m_nEdits = 0;
    m_file = std::make_shared<KnownFile>();
    m_saves.clear();
    m_nCheckIn = 0;
    m_unreadable.reset();
    StartupLoad load;
    std::unique_ptr<model::StagedTreeRead> rest;
    {
        fw::WaitCursor wait;
        load = LoadTreeAtStartup(*m_root, owner, m_bStaged && host ? &rest : nullptr,
                                 m_nStartChildren);
    }
    if (rest) {
        // Settled when the rest is in: until then nothing may write or compare the file.
        m_bFirstRun = false;
        StartRest(std::move(rest), load);
    } else if (load.source == TreeSource::Waiting) {
        // Read on another thread: the host answers meanwhile, and says why it is empty.
        m_bFirstRun = false;
        m_heldReader = std::make_unique<model::HeldFileReader>(
            host, WM_LARK_HELD_FILE_READ, model::DataFilePath(model::kDataFileName));
    } else {
        TakeLoad(load);
        // What was read is what the file held; after a first run or a file set aside, what
        // is there now is this run's doing.
        std::vector<uint8_t> bytes;
        m_file->Set(load.dataFile ? *load.dataFile
                                  : ReadFileStamp(DataFile(), bytes).value_or(FileStamp{}));
    }
    // Nothing is written before the whole tree is in: a rest read later starts them then.
    if (!m_rest || m_rest->begun)
        StartWatchAndWriter();
}

void TreeDocument::StartWatchAndWriter() {
    if (std::exchange(m_bWatching, true))
        return;
    // What a run killed during a save left beside the file goes before this run's saves
    // (a look at the folder that the first paint need not wait for).
    model::RemoveLeftoverReplacements(DataFile());
    if (m_host)
        m_watch.Start(m_host, FolderOf(DataFile()));
    m_writer = m_makeWriter ? m_makeWriter(m_host, WM_LARK_SAVE_DONE) : nullptr;
}

void TreeDocument::Close() {
    StopRest();
    JoinPreparing();
    m_watch.Stop();
    m_heldReader.reset();
    // What is pending was saved by the exit; a save still being written is finished (within
    // the writer's bounds) before the thread ends.
    m_writer.reset();
    m_bWatching = false;
    m_host = nullptr;
}

void TreeDocument::StartRest(std::unique_ptr<model::StagedTreeRead> read, const StartupLoad& load) {
    m_rest = std::make_unique<RestOfTree>();
    RestOfTree& rest = *m_rest;
    rest.read = std::move(read);
    rest.read->SetCheckpoint(m_restCheckpoint);
    rest.load = load;
    if (const oVoiceBook* start = StartCategory(*m_root))
        rest.startSerial = start->m_nSerial;
    rest.startWhole = rest.read->FirstIsWhole();
    if (!m_bBeginRestLater)
        BeginRestOfTree();
}

// The rest of the tree, and the stamp of a file it takes (on whichever thread reads it).
void TreeDocument::ReadRestOf(RestOfTree& rest) {
    rest.read->ReadRest(rest.stop);
    if (!rest.stop.load() && !rest.read->Refused())
        rest.stamp = StampOfImage(*rest.read);
}

void TreeDocument::ReadRestHere(RestOfTree& rest) {
    rest.begun = true;
    ReadRestOf(rest);
}

void TreeDocument::BeginRestOfTree() {
    if (!m_rest || m_rest->begun)
        return;
    StartWatchAndWriter();
    RestOfTree& rest = *m_rest;
    rest.begun = true;
    const HWND host = m_host;
    // Single-byte texts are decoded in this thread's code page, as the part read here.
    const LCID locale = ::GetThreadLocale();
    try {
        rest.worker = std::thread([&rest, host, locale] {
            ::SetThreadLocale(locale);
            try {
                ReadRestOf(rest);
            } catch (const std::bad_alloc&) {
                // Left unfinished: what was read counts as a file read in part.
            }
            ::PostMessageW(host, WM_LARK_TREE_DECODED, 0, 0);
        });
    } catch (const std::system_error&) {
        // No thread: the rest is read here and now.
        ReadRestHere(rest);
        WaitUntilComplete();
    }
}

void TreeDocument::StopRest() noexcept {
    if (!m_rest)
        return;
    // The worker looks at the flag every so many records, so a big category does not hold
    // the close up; what it read is dropped, and the tree stays a part that is never saved.
    m_rest->stop = true;
    if (m_rest->worker.joinable())
        m_rest->worker.join();
    m_rest.reset();
    m_bCutShort = true;
}

void TreeDocument::WaitUntilComplete() {
    if (!m_rest)
        return;
    if (!m_rest->begun) {
        // Needed before the worker was to begin: read here.
        StartWatchAndWriter();
        fw::WaitCursor wait;
        ReadRestHere(*m_rest);
    }
    if (m_rest->worker.joinable()) {
        fw::WaitCursor wait;
        m_rest->worker.join();
    }
    // A file whose structure the worker refused is read whole instead, and what is shown
    // goes: only where nothing holds a node of it (ReplaceRefused), never under a caller
    // that waits here with one in hand. Until then the tree stays incomplete: never saved.
    const bool replaced = m_rest->read->Refused();
    if (replaced && !m_bReplacing)
        return;
    const std::unique_ptr<RestOfTree> rest = std::move(m_rest);
    StartupLoad load = rest->load;
    load.dataFile = rest->stamp;
    if (replaced)
        WillChange(*m_root, false, TreeListener::Change::Deleting);
    FinishStagedLoad(*m_root, *rest->read, load, m_owner);
    std::vector<uint8_t> bytes;
    m_file->Set(load.dataFile ? *load.dataFile
                              : ReadFileStamp(DataFile(), bytes).value_or(FileStamp{}));
    TakeLoad(load);
    // A file of the older layout costs every start a read of its spread FAT piece by piece
    // (some 100 ms at 50,000 buttons): the countdown writes it once in ours.
    if (load.dataFile && !replaced && rest->read->FatSpread())
        m_countdown.MarkModified();
    const std::vector<TreeListener*> listeners(m_listeners);
    if (replaced) {
        for (TreeListener* listener : listeners)
            listener->TreeRead(true);
    } else if (oVoiceBook* start = rest->startWhole ? nullptr : Find(rest->startSerial)) {
        for (TreeListener* listener : listeners)
            listener->CategoryCompleted(*start);
    }
}

void TreeDocument::ReplaceRefused() {
    if (!m_rest || !m_rest->begun || m_rest->worker.joinable() || !m_rest->read->Refused())
        return;
    // A dialog may hold a node of the tree: the next tick tries again.
    if (!HostIsFree())
        return;
    m_bReplacing = true;
    WaitUntilComplete();
    m_bReplacing = false;
}

bool TreeDocument::CanShow(const oVoiceBook& node) const {
    if (!m_rest)
        return !m_bCutShort;
    const oVoiceBook* top = &node;
    while (top->Parent() && top->Parent() != m_root.get())
        top = top->Parent();
    return top->Parent() && top->m_nSerial == m_rest->startSerial;
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
    if (read == model::ReadResult::Ok)
        m_file->Set(StampOfBytes(bytes));
    else
        m_file->Set(ReadFileStamp(DataFile(), bytes).value_or(FileStamp{}));
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
    // Nor is a tree that is not the file's as read whole (an older file's, the part of a file
    // that could be read, the first run's): the countdown writes it there.
    else if (!load.dataFile)
        m_countdown.MarkModified();
    PostNotice(StartupNoticeText(load));
    PrepareFirstSave();
}

void TreeDocument::PostNotice(const std::wstring& text) {
    if (text.empty())
        return;
    if (!m_strLoadNotice.empty())
        m_strLoadNotice += L"\n\n";
    m_strLoadNotice += text;
    if (m_host)
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
    case WM_LARK_TREE_DECODED:
        WaitUntilComplete();
        ReplaceRefused(); // this message comes from the message loop: nothing holds a node
        return true;
    case WM_LARK_DATA_FOLDER_CHANGED:
        m_nCheckIn = kCheckDelayTicks;
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
    // Content still on its way would land beside what takes the place of the old (a linked
    // folder's category refilled as it is chosen, right after the start).
    if (!CanShow(category))
        WaitUntilComplete();
    WillChange(category, false, TreeListener::Change::Deleting);
    category.DeleteChildren();
}

void TreeDocument::NoteCategoryShown(const oVoiceBook& category) {
    // The category the file already records (as at every start) is no change to write.
    if (m_root->m_strCommand == category.m_strName)
        return;
    // Nor is the first one where it records none: the next start shows that one anyway, and
    // a big tree is not written again for it. It goes with the next save.
    const bool shownAnyway = m_root->m_strCommand.empty() && m_root->FirstChild() == &category;
    m_root->SetCommand(category.m_strName.c_str());
    if (!shownAnyway)
        m_countdown.Restart();
}

// ---- saving -------------------------------------------------------------------------------

void TreeDocument::Tick() {
    ReplaceRefused();
    if (m_nCheckIn > 0 && --m_nCheckIn == 0)
        CheckDataFile();
    if (m_countdown.Tick())
        StartSave();
}

bool TreeDocument::IsSaveUnderWay() const noexcept {
    return m_nSaveTicket > m_nReportedTicket && m_nSaveTicket > m_nSupersededTicket;
}

bool TreeDocument::IsEditPending() const {
    return m_nEdits > m_file->EditsWritten();
}

void TreeDocument::PrepareFirstSave() {
    // The first snapshot of a run would block this thread for fresh memory and for nodes
    // long out of the cache: their order is noted while they are near, and the memory is
    // mapped on a thread of its own.
    JoinPreparing();
    m_spare.Plan(*m_root);
    try {
        m_preparing = std::thread([this] {
            try {
                m_spare.Reserve();
            } catch (const std::bad_alloc&) {
                // The save finds its own memory.
            }
        });
    } catch (const std::system_error&) {
        // No thread: the first save maps its memory itself.
    }
}

void TreeDocument::JoinPreparing() noexcept {
    if (m_preparing.joinable())
        m_preparing.join();
}

std::shared_ptr<TreeSave> TreeDocument::NewSave() {
    JoinPreparing();
    return std::make_shared<TreeSave>(*m_root, model::kSaveFormat, m_nEdits, m_file,
                                      std::move(m_spare));
}

void TreeDocument::StartSave() {
    // Not before the file held at start-up has been read: what is in it decides.
    if (m_heldReader) {
        m_countdown.SaveFailed();
        return;
    }
    // Never a part of the tree: the rest of the file comes in first.
    WaitUntilComplete();
    if (!IsComplete())
        return;
    // The snapshot is all this thread does; the file is built, checked and written there.
    std::shared_ptr<TreeSave> save = NewSave();
    if (m_writer) {
        if (const uint32_t ticket = m_writer->Submit(DataFile(), save)) {
            m_nSaveTicket = ticket;
            m_saves[ticket] = std::move(save);
            return;
        }
    }
    // Without a writer (it could not start, or was stopped at the end of a session) the
    // save is made here.
    fw::WaitCursor wait;
    if (model::RunWriteTask(DataFile(), *save))
        m_nSupersededTicket = m_nSaveTicket;
    SaveFinished(*save, false);
}

void TreeDocument::SaveDone(uint32_t ticket, bool replaced) {
    if (ticket > m_nReportedTicket)
        m_nReportedTicket = ticket;
    const auto found = m_saves.find(ticket);
    if (ticket > m_nSupersededTicket) {
        if (found != m_saves.end())
            SaveFinished(*found->second, false);
        else if (!replaced)
            m_countdown.SaveFailed();
    }
    // Reports come in order; a save replaced before it was started is never reported.
    m_saves.erase(m_saves.begin(), m_saves.upper_bound(ticket));
}

void TreeDocument::SaveFinished(TreeSave& save, bool atExit) {
    JoinPreparing();
    m_spare = save.TakeMemory();
    const std::wstring kept = save.Kept();
    if (!kept.empty())
        PostNotice(
            fw::FormatText(fw::LoadResString(IDS_DATA_FILE_OTHER_KEPT).c_str(), kept.c_str()));
    switch (save.Outcome()) {
    case TreeSave::Result::Replaced:
        return;
    case TreeSave::Result::ChangedElsewhere:
        // Only the shown category was to be written: the other tree is read, and the
        // category stays shown (recorded by the next save). At exit there is no time for it.
        if (atExit)
            return;
        if (!IsSaveUnderWay() && HostIsFree()) {
            std::vector<uint8_t> bytes;
            const std::optional<FileStamp> current = ReadFileStamp(DataFile(), bytes);
            if (DecideFileAction(m_file->Stamp(), current, IsEditPending()) == FileAction::Reload) {
                if (Reload(bytes, *current))
                    m_countdown.MarkModified();
                return;
            }
        }
        break; // changed again, an edit came, or a later save decides: saved again later
    default:
        break;
    }
    // A failed save leaves the change pending: the countdown tries again, and so does the
    // exit.
    m_countdown.SaveFailed();
}

void TreeDocument::SaveNow() {
    if (!IsComplete())
        return; // the rest of the tree was never read (or not yet): the file keeps it
    fw::WaitCursor wait;
    const std::shared_ptr<TreeSave> save = NewSave();
    if (model::RunWriteTask(DataFile(), *save))
        m_nSupersededTicket = m_nSaveTicket;
    SaveFinished(*save, true);
}

void TreeDocument::SaveIfPending(DWORD maxWaitMs) {
    // Still held: the changes are saved only if the file can be copied first.
    m_heldReader.reset();
    // No save was handed to the writer before the whole tree was in; the rest is waited for
    // only when there is something to write (it stays in the file as it is otherwise).
    bool save = m_countdown.TakePending();
    if (m_writer) {
        // The writer finishes first, so that nothing it writes can come after the save
        // made here. One that does not finish in time is abandoned: it can no longer
        // replace the file, later saves are made here, and the tree is written now.
        fw::WaitCursor wait;
        if (m_writer->WaitIdle(maxWaitMs)) {
            // Its outcome may not have come back as a message yet.
            const model::DataFileWriter::Outcome last = m_writer->LastOutcome();
            if (last.ticket == m_nSaveTicket && last.replaced) {
                SaveDone(last.ticket, true);
                m_nSupersededTicket = m_nSaveTicket; // late failure reports change nothing
            } else if (m_nSaveTicket > m_nSupersededTicket)
                save = true;
        } else {
            // Given up: its own file beside is not ours, and it can no longer swap it in.
            m_writer->Stop(0);
            m_writer.reset();
            save = true;
        }
    }
    if (save) {
        WaitUntilComplete(); // what is written is the whole tree
        SaveNow();
    }
}

} // namespace document

namespace document {

// ---- the file changed elsewhere -----------------------------------------------------------

bool TreeDocument::HostIsFree() const {
    // A modal dialog disables the window that owns it.
    return !m_host || ::IsWindowEnabled(::GetAncestor(m_host, GA_ROOT));
}

void TreeDocument::CheckDataFile() {
    if (m_heldReader)
        return; // what it reads decides
    if (m_rest) {
        m_nCheckIn = 1; // what was read is not settled yet
        return;
    }
    // The outcome of our own save comes first; a dialog may hold a node of the tree.
    if (IsSaveUnderWay() || !HostIsFree()) {
        m_nCheckIn = 1;
        return;
    }
    std::vector<uint8_t> bytes;
    const std::optional<FileStamp> current = ReadFileStamp(DataFile(), bytes);
    switch (DecideFileAction(m_file->Stamp(), current, IsEditPending())) {
    case FileAction::Reload:
        Reload(bytes, *current);
        break;
    case FileAction::Wait:
        m_nCheckIn = kCheckDelayTicks;
        break;
    default:
        break; // a pending edit is settled by its save
    }
}

bool TreeDocument::Reload(const std::vector<uint8_t>& bytes, const FileStamp& stamp) {
    oVoiceBook read;
    if (model::ReadDataFileImage(read, bytes, model::kSaveFormat.singleByte) !=
        model::LoadOutcome::Loaded) {
        // Left alone (a save keeps it beside before writing over it); told once per version.
        if (!m_unreadable || !SameContent(*m_unreadable, stamp))
            PostNotice(fw::FormatText(fw::LoadResString(IDS_DATA_FILE_NOT_RELOADED).c_str(),
                                      DataFile().c_str()));
        m_unreadable = stamp;
        return false;
    }
    m_unreadable.reset();
    const std::wstring shown = m_root->m_strCommand;
    WillChange(*m_root, false, TreeListener::Change::Deleting);
    model::TakeWholeTree(*m_root, read);
    // Serial numbers are new: the shown category is found again by its name.
    const bool keptShown = m_root->m_strCommand != shown && m_root->FindChild(shown);
    if (keptShown)
        m_root->SetCommand(shown.c_str());
    m_file->Set(stamp);
    for (TreeListener* listener : std::vector<TreeListener*>(m_listeners))
        listener->TreeRead(true);
    return keptShown;
}

} // namespace document

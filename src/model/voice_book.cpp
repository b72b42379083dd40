#include "model/voice_book.h"

#include <utility>
#include <vector>

#include "model/picture_keeper.h"
#include "model/picture_numbers.h"
#include "model/pidl.h"

namespace {
constexpr int32_t kShowDefault = 10; // SW_SHOWDEFAULT, stored as normal
constexpr int kGoUpDepth = 32767;

int32_t NormalisedShow(int32_t show) {
    return show == kShowDefault ? 1 : show;
}
} // namespace

NodeRecordFields NewNodeFields(std::wstring name, int32_t kind, uint32_t flags) {
    NodeRecordFields f;
    f.name = std::move(name);
    f.kind = kind;
    f.flags = flags;
    f.defaultImage = -1;
    return f;
}

NodeRecordFields CategoryFields(std::wstring name) {
    return NewNodeFields(std::move(name), KIND_ITEM | KIND_BOOK, 0x02);
}

NodeRecordFields ButtonFields(std::wstring name, std::wstring command) {
    NodeRecordFields f = NewNodeFields(std::move(name), KIND_ITEM | KIND_COMMAND, 0);
    f.command = std::move(command);
    return f;
}

oVoiceBook::oVoiceBook() {
    Reset();
}

oVoiceBook::oVoiceBook(const NodeRecordFields& record) {
    Reset();
    SetFromRecord(record);
}

oVoiceBook::oVoiceBook(NodeRecordFields&& record) {
    Reset();
    SetFromRecord(std::move(record));
}

oVoiceBook::~oVoiceBook() {
    ReleasePictures();
}

void oVoiceBook::Reset() {
    ReleasePictures();
    oTreeNode::Clear();
    m_strCommand.clear();
    m_strArguments.clear();
    m_strWorkDir.clear();
    m_strIconFile.clear();
    m_nIconIndex = 0;
    m_nShowCmd = 1;
    m_nKind = KIND_BOOK;
    m_nFlags = 0x02;
    m_pidl.reset();
    m_nDefaultImage = -1;
    m_bScanSubFolders = 0;
    m_nRole = ROLE_NORMAL;
}

void oVoiceBook::ReleasePictures() noexcept {
    // Only nodes of the window thread have pictures: the keeper is asked about those alone.
    if (m_nImage >= 0 || m_nGrayImage >= 0) {
        if (model::PictureKeeper* keeper = model::CurrentPictureKeeper()) {
            if (m_nImage >= 0)
                keeper->Release(m_nImage);
            if (m_nGrayImage >= 0 && m_nGrayImage != m_nImage)
                keeper->Release(m_nGrayImage);
        }
    }
    m_nImage = -1;
    m_nGrayImage = -1;
}

void oVoiceBook::SetIcon(const wchar_t* file, int32_t index) {
    m_strIconFile = file ? file : L"";
    m_nIconIndex = index;
}

const model::NodeText& oVoiceBook::GetIcon(int32_t* index) const {
    if (index)
        *index = m_nIconIndex;
    return m_strIconFile;
}

void oVoiceBook::SetRole(int32_t role) {
    m_nRole = role;
    if (role == ROLE_GO_UP) {
        ReleasePictures();
        m_nImage = model::kPictureGoUp;
        m_nGrayImage = model::kPictureGoUp;
        m_nDepth = kGoUpDepth;
    }
}

template <class Fields> void oVoiceBook::AssignRecord(Fields&& r) {
    m_strName = std::forward<Fields>(r).name;
    m_nKind = r.kind;
    m_nFlags = r.flags;
    m_strCommand = std::forward<Fields>(r).command;
    m_strArguments = std::forward<Fields>(r).arguments;
    m_strWorkDir = std::forward<Fields>(r).workDir;
    m_strIconFile = std::forward<Fields>(r).iconFile;
    m_nIconIndex = r.iconIndex;
    m_nShowCmd = NormalisedShow(r.showCmd);
    m_nDefaultImage = r.defaultImage;
    m_bScanSubFolders = r.scanSubFolders;
    m_nRole = r.role;
}

void oVoiceBook::SetFromRecord(const NodeRecordFields& record) {
    AssignRecord(record);
}

void oVoiceBook::SetFromRecord(NodeRecordFields&& record) {
    AssignRecord(std::move(record));
}

NodeRecordFields oVoiceBook::ToRecord() const {
    NodeRecordFields r;
    r.name = m_strName;
    r.command = m_strCommand;
    r.arguments = m_strArguments;
    r.workDir = m_strWorkDir;
    r.iconFile = m_strIconFile;
    r.iconIndex = m_nIconIndex;
    r.defaultImage = m_nDefaultImage;
    r.scanSubFolders = m_bScanSubFolders;
    r.kind = m_nKind;
    r.flags = m_nFlags;
    r.role = m_nRole;
    r.showCmd = NormalisedShow(m_nShowCmd);
    return r;
}

void oVoiceBook::CopyFrom(const oVoiceBook& source) {
    SetFromRecord(source.ToRecord());
    m_pidl.reset(model::PidlClone(source.m_pidl.get()));
    if (&source != this) {
        // The copy shows its source's colour picture, as one more user of it.
        ReleasePictures();
        model::PictureKeeper* keeper = model::CurrentPictureKeeper();
        if (keeper && source.m_nImage >= 0)
            keeper->AddUser(source.m_nImage);
        m_nImage = source.m_nImage;
    }
}

oVoiceBook* oVoiceBook::AddChild(const NodeRecordFields& fields) {
    auto* node = new oVoiceBook(fields);
    AppendChild(node);
    return node;
}

oVoiceBook* oVoiceBook::AddAfter(const NodeRecordFields& fields) {
    auto* node = new oVoiceBook(fields);
    InsertAfter(node);
    return node;
}

void oVoiceBook::ResetAll(const wchar_t* name) {
    DeleteChildren();
    ReleasePictures();
    if (model::PictureKeeper* keeper = model::CurrentPictureKeeper())
        keeper->StartAfresh();
    Reset();
    SetName(name);
    m_nKind = KIND_BOOK;
    m_nFlags = (m_nFlags & ~1u) | 2u;
}

int oVoiceBook::CountChildCategories() const {
    int count = 0;
    for (const oVoiceBook* c = FirstChild(); c; c = c->Next())
        if (c->m_nKind & KIND_BOOK)
            ++count;
    return count;
}

oVoiceBook* oVoiceBook::CloneTree() const {
    auto* copy = new oVoiceBook();
    copy->CopyFrom(*this);
    // Explicit work list instead of recursion: pairs of (source, its copy).
    std::vector<std::pair<const oVoiceBook*, oVoiceBook*>> pending{{this, copy}};
    while (!pending.empty()) {
        auto [source, target] = pending.back();
        pending.pop_back();
        for (const oVoiceBook* child = source->FirstChild(); child; child = child->Next()) {
            auto* childCopy = new oVoiceBook();
            childCopy->CopyFrom(*child);
            target->AppendChild(childCopy);
            if (child->HasChildren())
                pending.emplace_back(child, childCopy);
        }
    }
    return copy;
}

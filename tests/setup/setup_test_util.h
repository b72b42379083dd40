#pragma once
// Helpers of the set-up tests: template files, scripted answers, finding nodes.
#include <windows.h>

#include <string>
#include <vector>

#include "model/voice_book.h"
#include "setup/bookmark_question.h"

namespace setuptest {

// Answers the bookmark question from a script; counts how often it was asked.
class ScriptedQuestion final : public setup::BookmarkQuestion {
public:
    explicit ScriptedQuestion(std::vector<bool> answers) : answers_(std::move(answers)) {}
    bool AskCreateBookmarks() override {
        const bool answer = asked_ < answers_.size() ? answers_[asked_] : false;
        ++asked_;
        return answer;
    }
    size_t Asked() const { return asked_; }

private:
    std::vector<bool> answers_;
    size_t asked_ = 0;
};

// Writes a template from lines (joined with CR LF).
void WriteTemplate(const std::wstring& path, const std::vector<std::string>& lines);
// A template `levels` deep whose every section names one sub-section twice, so the tree it
// asks for doubles at each level.
std::vector<std::string> DoublingTemplate(int levels);

oVoiceBook* Child(const oVoiceBook& parent, const std::wstring& name);
std::vector<oVoiceBook*> Children(const oVoiceBook& parent);
// Every node below `root` with this name, at any depth.
int CountNamed(const oVoiceBook& root, const std::wstring& name);
// How many nodes are below `root`, and how many levels deep they go.
struct Shape {
    int nodes = 0, depth = 0;
};
Shape ShapeOf(const oVoiceBook& root);
bool EndsWithNoCase(const std::wstring& text, const std::wstring& tail);

} // namespace setuptest

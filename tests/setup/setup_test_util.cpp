#include "setup_test_util.h"

#include <algorithm>

#include "support/test_util.h"

namespace setuptest {

void WriteTemplate(const std::wstring& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    test::WriteTextFile(path, text);
}

std::vector<std::string> DoublingTemplate(int levels) {
    std::vector<std::string> lines;
    std::string section = "Root";
    for (int i = 0; i < levels; ++i, section += "_A")
        lines.insert(lines.end(),
                     {"[" + section + "]", "NumSubBooks=2", "SubBook1=A,1000", "SubBook2=A,1000",
                      "NumCommands=1", "Command1=Site,https://example.org/"});
    return lines;
}

oVoiceBook* Child(const oVoiceBook& parent, const std::wstring& name) {
    for (oVoiceBook* c = parent.FirstChild(); c; c = c->Next()) {
        if (c->m_strName == name)
            return c;
    }
    return nullptr;
}

std::vector<oVoiceBook*> Children(const oVoiceBook& parent) {
    std::vector<oVoiceBook*> out;
    for (oVoiceBook* c = parent.FirstChild(); c; c = c->Next())
        out.push_back(c);
    return out;
}

int CountNamed(const oVoiceBook& root, const std::wstring& name) {
    int count = 0;
    for (oVoiceBook* c = root.FirstChild(); c; c = c->Next())
        count += (c->m_strName == name ? 1 : 0) + CountNamed(*c, name);
    return count;
}

Shape ShapeOf(const oVoiceBook& root) {
    Shape shape;
    for (oVoiceBook* c = root.FirstChild(); c; c = c->Next()) {
        const Shape below = ShapeOf(*c);
        shape = {shape.nodes + 1 + below.nodes, std::max(shape.depth, 1 + below.depth)};
    }
    return shape;
}

bool EndsWithNoCase(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() &&
           _wcsicmp(text.c_str() + text.size() - tail.size(), tail.c_str()) == 0;
}

} // namespace setuptest

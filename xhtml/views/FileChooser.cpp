#include "xhtml/views/FileChooser.h"

namespace xhtml {

namespace {

FileChooser installedChooser = nullptr;

bool isFilterSeparator(char16_t c) {
    return c == u'/' || c == u';' || c == u'|';
}

bool isPathSeparator(char16_t c) {
    return c == u'/' || c == u'\\';
}

std::u16string filterStrings(const ZString& text) {
    std::u16string filter;
    int start = 0;
    for (int i = 0; i <= text.length(); ++i) {
        if (i < text.length() && !isFilterSeparator(text.getAt(i)))
            continue;
        // An empty string would end the list early.
        if (i > start) {
            filter.append(text.c_str() + start, static_cast<size_t>(i - start));
            filter.push_back(u'\0');
        }
        start = i + 1;
    }
    if (filter.empty())
        filter.append(u"All Files\0*.*\0", 14);
    filter.push_back(u'\0');
    return filter;
}

ZString fileNameOf(const ZString& path) {
    int end = path.length();
    while (end > 0 && isPathSeparator(path.getAt(end - 1)))
        --end;
    int start = end;
    while (start > 0 && !isPathSeparator(path.getAt(start - 1)))
        --start;
    return path.mid(start, end);
}

} // namespace

FileChoice fileChoiceFor(const ZString& filterText, const ZString& text) {
    FileChoice choice;
    choice.folder = filterText.equals(u"directories");
    if (choice.folder) {
        choice.start = text;
        return choice;
    }
    choice.filter = filterStrings(filterText);
    choice.start = fileNameOf(text);
    return choice;
}

void setFileChooser(FileChooser chooser) {
    installedChooser = chooser;
}

FileChooser fileChooser() {
    return installedChooser;
}

} // namespace xhtml

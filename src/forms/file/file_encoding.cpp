// The current file's encoding: shown in the status bar, chosen again from the View menu, and
// changed to UTF-8 when a replace brings a character the file's encoding cannot hold.
#include <map>
#include <optional>
#include <utility>

#include "core/text.h"
#include "files/text_file.h"
#include "forms/file/file_scope.h"
#include "forms/model/control_ids.h"

namespace lodestar {

// The status line shows the encoding and line ends; "Reopen with Encoding" ticks the encoding
// the file is read in.
void FileScope::showEncoding() {
    controls().setText(main_ids::lblEncoding, encodingLabel(doc_.format));
    controls().setText(main_ids::lblLineEnds, lineEndLabel(doc_.text));
    static constexpr std::pair<ControlId, TextEncoding> kTicks[] = {
        {main_ids::mEncUtf8, TextEncoding::Utf8},
        {main_ids::mEncUtf16le, TextEncoding::Utf16LE},
        {main_ids::mEncUtf16be, TextEncoding::Utf16BE},
        {main_ids::mEnc1252, TextEncoding::Windows1252},
    };
    for (const auto& [entry, encoding] : kTicks)
        controls().setChecked(entry, !doc_.path.empty() && doc_.format.encoding == encoding);
}

std::u16string lineEndLabel(const std::u16string& text) {
    bool crlf = false, lf = false, cr = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            const bool pair = i + 1 < text.size() && text[i + 1] == u'\n';
            (pair ? crlf : cr) = true;
            i += pair;
        } else if (text[i] == u'\n') {
            lf = true;
        }
        if (crlf + lf + cr > 1) return u"Mixed";
    }
    return crlf ? u"CRLF" : lf ? u"LF" : cr ? u"CR" : u"";
}

void FileScope::reopenWithEncoding(std::string_view entry) {
    static const std::map<std::string_view, std::optional<TextEncoding>> kEntries = {
        {main_ids::mEncAuto, std::nullopt},
        {main_ids::mEncUtf8, TextEncoding::Utf8},
        {main_ids::mEncUtf16le, TextEncoding::Utf16LE},
        {main_ids::mEncUtf16be, TextEncoding::Utf16BE},
        {main_ids::mEnc1252, TextEncoding::Windows1252},
    };
    const auto chosen = kEntries.find(entry);
    if (chosen == kEntries.end() || doc_.path.empty() || host_.inFolderMode()) return;
    if (!host_.settleUnsaved(u"Your file not saved, save it before reading it again as another "
                             u"encoding?"))
        return;
    try {
        TextReading once = host_.textReading();
        once.fixed = chosen->second;
        doc_.stamp = stampOf(doc_.path);
        DecodedText file = loadTextFile(doc_.path, once);
        doc_.text = std::move(file.text);
        doc_.loaded = doc_.text;
        doc_.format = doc_.loadedFormat = file.format;
    } catch (const Error& e) {
        host_.logError(u"Can't open the file.\r\n" + fromUtf8(e.what()));
        return;
    }
    host_.setSaveEnabled(false);
    host_.setRestoreEnabled(false);
    resetMatchState();
    renderSource(doc_.text);
    showEncoding();
    host_.logLine(u"Reopen file " + doc_.path + u" as " + encodingLabel(doc_.format));
}

bool FileScope::encodingHolds(const std::u16string& newText) {
    const auto character = unholdableCharacter(newText, doc_.format.encoding);
    if (!character) return true;
    const std::u16string reason = fromUtf8(cannotHoldMessage(*character, doc_.format.encoding));
    // Only Windows-1252 has a way out: UTF-8 holds every character but a lone surrogate.
    if (doc_.format.encoding != TextEncoding::Windows1252) {
        host_.logError(reason + u"\r\nThe text is unchanged.");
        return false;
    }
    if (!host_.confirm(
            reason + u"\r\nSave the file as UTF-8 instead? (Cancel leaves the text as it was.)")) {
        host_.logLine(u"Replace cancelled, the text is unchanged.");
        return false;
    }
    doc_.format = TextFormat{TextEncoding::Utf8, false, ""};
    showEncoding();
    return true;
}

}  // namespace lodestar

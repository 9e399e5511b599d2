// The window's text, held once however many parts of the program look at it: the text being
// edited, the text as the file holds it, the search running on a worker thread and the pieces
// the source view shows all share one buffer. A copy shares; assigning a new string replaces
// the buffer, never changing what others hold.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace lodestar {

class SharedText {
  public:
    SharedText() : text_(none()) {}
    SharedText(std::u16string text)  // NOLINT: a string is a text
        : text_(std::make_shared<const std::u16string>(std::move(text))) {}
    SharedText& operator=(std::u16string text) {
        text_ = std::make_shared<const std::u16string>(std::move(text));
        return *this;
    }

    const std::u16string& str() const { return *text_; }
    operator const std::u16string&() const { return *text_; }  // NOLINT
    operator std::u16string_view() const { return *text_; }    // NOLINT
    const std::shared_ptr<const std::u16string>& shared() const { return text_; }
    bool empty() const { return text_->empty(); }
    std::size_t size() const { return text_->size(); }
    void clear() { text_ = none(); }

    friend bool operator==(const SharedText& a, const SharedText& b) {
        return a.text_ == b.text_ || *a.text_ == *b.text_;
    }
    friend bool operator==(const SharedText& a, std::u16string_view b) { return *a.text_ == b; }
    friend bool operator==(const SharedText& a, const std::u16string& b) { return *a.text_ == b; }
    friend bool operator==(const SharedText& a, const char16_t* b) {
        return *a.text_ == std::u16string_view(b);
    }

  private:
    static std::shared_ptr<const std::u16string> none() {
        static const auto empty = std::make_shared<const std::u16string>();
        return empty;
    }
    std::shared_ptr<const std::u16string> text_;
};

}  // namespace lodestar

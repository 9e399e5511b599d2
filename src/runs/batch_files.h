// The batch run as a folder run's transform: the commands of a command file applied to each
// file's text in order.
#pragma once

#include <vector>

#include "replace/command_file.h"
#include "runs/run_driver.h"
#include "search/regexp.h"

namespace lodestar {

class CommandTransform : public TextTransform {
  public:
    // `expr` gives the commands the switches they do not set themselves.
    CommandTransform(const std::vector<Command>& commands, const RegExp& expr)
        : chain_(commands, expr) {}

    std::unique_ptr<TextTransform> copy() const override {
        return std::make_unique<CommandTransform>(*this);
    }
    FileRun run() const override { return FileRun::Batch; }
    std::u16string apply(std::u16string_view text) override { return chain_.apply(text); }

    // After a run that applied the commands to a file: `expr` is left on the last command's
    // pattern and case switch, as applying them by hand leaves it.
    void leaveLastOn(RegExp& expr, const RunSummary& summary) const {
        if (summary.transformed > 0) chain_.leaveLastOn(expr);
    }

  private:
    CommandChain chain_;
};

}  // namespace lodestar

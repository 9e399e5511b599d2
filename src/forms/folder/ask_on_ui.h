// The read-only question of a replace run, asked on the user-interface thread while the run
// waits for the answer.
#pragma once

#include "forms/model/app_title.h"
#include "platform/prompts.h"
#include "platform/work_runner.h"
#include "runs/run_driver.h"

namespace lodestar {

class AskOnUi : public ReadOnlyQuestion {
  public:
    AskOnUi(WorkRunner& runner, Prompts& prompts) : runner_(runner), prompts_(prompts) {}
    bool makeWritable() override {
        bool answer = false;
        runner_.ask(
            [&] { answer = prompts_.okCancel(std::u16string(kReadOnlyQuestion), kAppTitle); });
        return answer;
    }

  private:
    WorkRunner& runner_;
    Prompts& prompts_;
};

}  // namespace lodestar

// A view context for tests: its own splash and recap board, and option flags a test sets (an
// option it did not set is off).
#pragma once

#include <cstdint>
#include <map>

#include "shell/recap_board.h"
#include "shell/splash.h"
#include "shell/view.h"

namespace dv::testing {

class TestContext : public ViewContext {
  public:
    SplashModel& Splash() override { return splash; }
    RecapBoard& Recap() override { return recap; }
    bool GetOption(int32_t position) override {
        const auto it = options.find(position);
        return it != options.end() && it->second;
    }

    SplashModel splash{"", ""};
    RecapBoard recap;
    std::map<int32_t, bool> options;
};

}  // namespace dv::testing

#include "AiOptions.h"

namespace karvel::service::engine {

std::vector<AiOption> listAiOptions(const GameState& state) {
    std::vector<AiOption> options;
    for (const Jump& jump : listJumps(state)) {
        const GameState after = stateAfterJump(state, jump);
        if (after.chain != GameState::kNoChain) {
            options.push_back(AiOption{jump, true, after});
            options.push_back(AiOption{jump, false, stateAfterPass(after)});
        } else {
            options.push_back(AiOption{jump, false, after});
        }
    }
    return options;
}

}  // namespace karvel::service::engine

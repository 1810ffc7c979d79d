#include "StartChoice.h"

namespace karvel {

std::string toString(StartChoice choice) {
    switch (choice) {
        case StartChoice::AI:
            return "StartChoice.AI";
        case StartChoice::CREATE:
            return "StartChoice.CREATE";
        case StartChoice::JOIN:
            return "StartChoice.JOIN";
        case StartChoice::RESUME:
            return "StartChoice.RESUME";
    }
    return "StartChoice." + std::to_string(static_cast<int>(choice));
}

}  // namespace karvel

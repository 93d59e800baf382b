#include "ports/MachineFinding.h"

namespace q7n {

const char* MachineFindingKindName(TMachineFindingKind Kind) {
    switch (Kind) {
    case mfComPortMissing:
        return "comPortMissing";
    case mfLocalPortTaken:
        return "localPortTaken";
    case mfNotListening:
        return "notListening";
    case mfRegisteredElsewhere:
        return "registeredElsewhere";
    case mfProgramMissing:
        return "programMissing";
    case mfStoppedWithError:
        return "stoppedWithError";
    }
    return "";
}

} // namespace q7n

#include "DiagramHooks.h"

DiagramHooks& theDiagramHooks() {
    static DiagramHooks hooks;
    return hooks;
}

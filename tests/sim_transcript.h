// Reading the simulated devices' transcripts in tests.
#ifndef ZENTIL_TESTS_SIM_TRANSCRIPT_H
#define ZENTIL_TESTS_SIM_TRANSCRIPT_H

#include <vector>

#include "sim/sim_device.h"

// The bytes of every event of that kind that was not made to fail, in order.
inline std::vector<std::vector<BYTE>> TranscriptBytes(int simId, SimEventKind kind)
{
    std::vector<std::vector<BYTE>> found;
    for (const SimEvent& event : SimGetEvents(simId))
        if (event.kind == kind && !event.failed) found.push_back(event.bytes);
    return found;
}

// Opens minus closes that the device saw: 0 when the program holds no handle of it.
inline int CountOpenHandles(int simId)
{
    int open = 0;
    for (const SimEvent& e : SimGetEvents(simId)) open += e.kind == SIM_EVENT_OPEN ? 1 : e.kind == SIM_EVENT_CLOSE ? -1 : 0;
    return open;
}

#endif

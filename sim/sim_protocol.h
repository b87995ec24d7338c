// Messages between the simulated hid.dll (in the program's process) and the device server.
#ifndef ZENTIL_SIM_PROTOCOL_H
#define ZENTIL_SIM_PROTOCOL_H

#include <windows.h>

// Environment variable naming the server's pipe base; the control pipe is \\.\pipe\<base>,
// device k's data pipe is \\.\pipe\<base>-dev<k>.
#define SIM_PIPE_ENV "ZENTIL_SIM_PIPE"
#define SIM_DEFAULT_PIPE_BASE "zentil-sim"
#define SIM_DEVICE_PIPE_MARK "-dev"

enum SimOperation {
    SIM_OP_LIST = 1,        // -> count, SIM_MAX_LISTED ids, one SimDetailSizeFault per listed id
    SIM_OP_CAPS = 2,        // device -> usage page, usage
    SIM_OP_ATTRIBUTES = 3,  // device -> vendor, product, version
    SIM_OP_PRODUCT = 4,     // device -> UTF-16 product string
    SIM_OP_SET_FEATURE = 5, // device, report -> ok
    SIM_OP_GET_FEATURE = 6, // device, length -> ok, report
};

const int SIM_MAX_LISTED = 64;

// How a device's interface-detail size query misbehaves.
enum SimDetailSizeFault {
    SIM_DETAIL_SIZE_ANSWERS = 0,     // fails for want of room and names the size needed
    SIM_DETAIL_SIZE_SUCCEEDS = 1,    // succeeds although no buffer was given
    SIM_DETAIL_SIZE_TOO_SMALL = 2,   // names a size below the record's fixed part
};
const int SIM_PAYLOAD_BYTES = 512;

#pragma pack(push, 1)
struct SimRequest {
    DWORD operation;
    DWORD device;
    DWORD length;
    BYTE data[SIM_PAYLOAD_BYTES];
};

struct SimReply {
    DWORD ok;
    DWORD length;
    BYTE data[SIM_PAYLOAD_BYTES];
};
#pragma pack(pop)

#endif

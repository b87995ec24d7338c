// Simulated Dolvan USB HID devices, served below the platform HID API: test and demo tooling.
//
// A device server runs in the test (or zentil-sim) process: each device has a named-pipe data
// path that the program opens with its own CreateFileA/ReadFile/WriteFile, and the simulated
// hid.dll forwards HidD_*/SetupDi* calls to the server's control pipe. Every report that
// crosses the wire is recorded; any call can be made to fail; a device can vanish and return.
#ifndef ZENTIL_SIM_DEVICE_H
#define ZENTIL_SIM_DEVICE_H

#include <windows.h>

#include <array>
#include <deque>
#include <string>
#include <vector>

const int SIM_REGISTER_COUNT = 184;
const int SIM_FEATURE_SIZE = 9;
const int SIM_REPORT_SIZE = 64;

typedef std::array<BYTE, SIM_REPORT_SIZE> SimReport;

enum SimEventKind {
    SIM_EVENT_OPEN,           // the program opened the device path
    SIM_EVENT_CLOSE,          // the program closed it
    SIM_EVENT_SET_FEATURE,    // HidD_SetFeature (bytes: the 9-byte report)
    SIM_EVENT_GET_FEATURE,    // HidD_GetFeature (bytes: the reply given)
    SIM_EVENT_INPUT_REPORT,   // an input report the program read
    SIM_EVENT_OUTPUT_REPORT,  // an output report the program wrote
};

struct SimEvent {
    SimEventKind kind;
    std::vector<BYTE> bytes;
    DWORD tick;   // GetTickCount when it happened
    bool failed;  // made to fail by a fault
};

enum SimFaultKind {
    SIM_FAULT_OPEN,         // opens refused after `skip` successful ones, until cleared
    SIM_FAULT_SET_FEATURE,  // HidD_SetFeature returns FALSE
    SIM_FAULT_GET_FEATURE,  // HidD_GetFeature returns FALSE
    SIM_FAULT_READ,         // the program's ReadFile fails (the pipe is dropped under it)
    SIM_FAULT_WRITE,        // the program's WriteFile fails
    SIM_FAULT_OPEN_DROP,    // matching opens succeed but the device drops them at once, so every
                            // later call on that handle fails
    SIM_FAULT_VANISH,       // the device vanishes at a matching HidD_SetFeature (which fails)
    SIM_FAULT_VANISH_ON_GET,  // the device vanishes at a HidD_GetFeature after a matching command
};

// A fault: after `skip` matching calls pass, `count` matching calls fail (-1: all further ones).
// For SIM_FAULT_SET_FEATURE and SIM_FAULT_VANISH, `command` and `parameter` (-1: any) narrow the
// matching calls; for SIM_FAULT_GET_FEATURE and SIM_FAULT_VANISH_ON_GET, `command` is the command
// sent last.
// With a `period` p > 0 only every p-th call from the first failing one fails (the others pass).
struct SimFault {
    SimFaultKind kind;
    int skip;
    int count;
    int command;
    int parameter;
    int period;
    int seen;  // matching calls seen after the skipped ones (kept by the server)
};

enum SimDeviceKind {
    SIM_KIND_DEVICE,      // a configurable Dolvan device
    SIM_KIND_CALIBRATOR,  // the calibration device
};

enum SimMode {
    SIM_MODE_APPLICATION,
    SIM_MODE_BOOTLOADER,
};

// The state of one simulated device. Tests read and change it only under SimLock.
struct SimDevice {
    int id;
    SimDeviceKind kind;
    SimMode mode;
    WORD vendorId, productId, versionNumber;
    USHORT usagePage, usage;
    std::wstring productString;
    char name[17];      // the 16-character device name of the identification report
    char firmware[9];   // "AB.CD.EF"
    bool present;       // false: vanished (not listed, pipes closed, calls fail)
    bool silent;        // true: queues no input reports (a device that never answers)
    BYTE detailSizeFault;  // SimDetailSizeFault of its interface-detail size query

    // Configuration memory, its EEPROM copy and what the write engine and the device menu see.
    WORD registers[SIM_REGISTER_COUNT];
    WORD eeprom[SIM_REGISTER_COUNT];
    int storeStepsDone;  // EEPROM store steps 0, 1, 2 received in order since the last block write
    bool jumperFitted;
    WORD statusWord;     // the status word of a plain feature read (bytes 5 high, 6 low)
    bool configMode;     // between the configuration-mode commands
    BYTE lastFeatureCommand;

    std::deque<SimReport> pendingInput;  // input reports waiting for the program to read them
    std::vector<SimEvent> events;
    std::vector<SimFault> faults;
    int opensSeen;
};

// Starts the server for this process (pipe base from ZENTIL_SIM_PIPE or made from the process id,
// and then exported in ZENTIL_SIM_PIPE for the hid.dll and child processes). Idempotent.
void SimStartServer();
// Removes every device (their pipes close) and clears global faults.
void SimResetDevices();
// Adds a present application-mode device named `name` (padded with blanks to 16) with the
// compiled-in default ids of the program's configured device; returns its id.
int SimAddDevice(const char* name, const char* firmware);
// Gives the device (registers and EEPROM) the factory settings of the model its name identifies,
// as that model's dialog defines them; false (nothing changed) for a model without a dialog.
bool SimPutFactorySettings(int id);
// The device name a model shown by the program under `label` identifies itself with ("LB-DMG" and
// "LBDMG1K" alike); a label it does not know is taken as the name.
const char* SimDeviceNameOfModel(const char* label);
// The model row the program identifies from a device name; null for none.
struct DeviceTypeInfo;
const DeviceTypeInfo* SimFindModelOfName(const char* name);
// The device with that id (never freed during a run); use under SimLock.
SimDevice* SimGetDevice(int id);
void SimSetPresent(int id, bool present);
void SimAddFault(int id, const SimFault& fault);
void SimClearFaults(int id);
// Makes the next enumeration's SetupDiGetClassDevsA fail.
void SimFailEnumeration(bool fail);
bool SimEnumerationFails();
// Copy of the transcript, and clearing it.
std::vector<SimEvent> SimGetEvents(int id);
void SimClearEvents(int id);
// Queues an input report for the program to read.
void SimQueueInput(int id, const SimReport& report);
// The server's pipe base (without \\.\pipe\).
std::string SimPipeBase();

// Locks all device state against the server threads.
struct SimLock {
    SimLock();
    ~SimLock();
    SimLock(const SimLock&) = delete;
    SimLock& operator=(const SimLock&) = delete;
};

// ---- Device behaviour (called with the lock held)
// Each handles what it knows and returns true, else false so the next handler is tried.
bool SimHandleSetFeature(SimDevice& device, const BYTE* report);
bool SimHandleGetFeature(SimDevice& device, BYTE* reply);
void SimHandleOutputReport(SimDevice& device, const SimReport& report);
void SimLogEvent(SimDevice& device, SimEventKind kind, const BYTE* bytes, int length, bool failed);
// Consumes one matching call of a fault; true when this call must fail.
bool SimTakeFault(SimDevice& device, SimFaultKind kind, int command, int parameter);

#endif

// Device server of the simulated devices: the control pipe the hid.dll talks to, and one
// data-pipe thread per device that takes output reports and hands over input reports.
//
// The data pipes are created with no buffer, so under Wine (as on Windows) a client's WriteFile
// waits until the server reads and a server's WriteFile waits until the client reads. That lets
// the server know exactly when an input report was consumed, and make a read or write fail
// deterministically by dropping the pipe instance instead of serving it.
#include "sim/sim_device.h"

#include <stdio.h>

#include "kit/shared_records.h"
#include "sim/sim_protocol.h"
#include "sim/sim_live.h"

static CRITICAL_SECTION s_lock;
static bool s_started = false;
static std::string s_pipeBase;
static std::vector<SimDevice*> s_devices;  // index = id; removed devices stay allocated
static bool s_failEnumeration = false;

struct DeviceThread {
    int id;
    HANDLE thread;
    HANDLE kick;  // wakes the thread when its device's state changed
    volatile LONG stop;
    volatile LONG requested;  // state changes asked for
    volatile LONG applied;    // state changes the thread has acted on (pipes listening or closed)
};
static std::vector<DeviceThread*> s_threads;

SimLock::SimLock() { EnterCriticalSection(&s_lock); }
SimLock::~SimLock() { LeaveCriticalSection(&s_lock); }

std::string SimPipeBase() { return s_pipeBase; }

static void KickDevice(int id)
{
    if (id >= 0 && id < (int)s_threads.size() && s_threads[id]) {
        InterlockedIncrement(&s_threads[id]->requested);
        SetEvent(s_threads[id]->kick);
    }
}

// Kicks the device's thread and waits until it has acted on the change, so a test's next call
// meets the device as it was set (listening after an add, gone after a vanish).
static void SettleDevice(int id)
{
    DeviceThread* thread = NULL;
    LONG wanted = 0;
    {
        SimLock lock;
        if (id < 0 || id >= (int)s_threads.size() || !s_threads[id]) return;
        thread = s_threads[id];
        wanted = InterlockedIncrement(&thread->requested);
        SetEvent(thread->kick);
    }
    DWORD start = GetTickCount();
    while (thread->applied < wanted && GetTickCount() - start < 3000) Sleep(1);
}

void SimLogEvent(SimDevice& device, SimEventKind kind, const BYTE* bytes, int length, bool failed)
{
    SimEvent event;
    event.kind = kind;
    if (bytes && length > 0) event.bytes.assign(bytes, bytes + length);
    event.tick = GetTickCount();
    event.failed = failed;
    device.events.push_back(event);
}

bool SimTakeFault(SimDevice& device, SimFaultKind kind, int command, int parameter)
{
    for (size_t i = 0; i < device.faults.size(); i++) {
        SimFault& fault = device.faults[i];
        if (fault.kind != kind || fault.count == 0) continue;
        if (fault.command >= 0 && fault.command != command) continue;
        if (fault.parameter >= 0 && fault.parameter != parameter) continue;
        if (fault.skip > 0) {
            fault.skip--;
            return false;
        }
        if (fault.period > 0 && fault.seen++ % fault.period != 0) return false;
        if (fault.count > 0) fault.count--;
        return true;
    }
    return false;
}

// ---- One device's data pipe

struct Connection {
    HANDLE pipe;
    OVERLAPPED readOverlapped;
    OVERLAPPED writeOverlapped;
    BYTE readBuffer[SIM_REPORT_SIZE + 1];
    bool readPending;
    bool writePending;
    SimReport offered;
};

static std::string DevicePipeName(int id)
{
    char name[160];
    snprintf(name, sizeof(name), "\\\\.\\pipe\\%s%s%d", s_pipeBase.c_str(), SIM_DEVICE_PIPE_MARK, id);
    return name;
}

static HANDLE CreateDevicePipeInstance(int id)
{
    return CreateNamedPipeA(DevicePipeName(id).c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                            PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES, 0, 0,
                            0, NULL);
}

// An input report offered on the connection was taken by the program: it leaves the queue (once)
// and goes on the record.
static void RecordTakenReport(int id, Connection* connection)
{
    SimLock lock;
    SimDevice& device = *s_devices[id];
    if (!device.pendingInput.empty() && device.pendingInput.front() == connection->offered)
        device.pendingInput.pop_front();
    SimLogEvent(device, SIM_EVENT_INPUT_REPORT, connection->offered.data(), SIM_REPORT_SIZE, false);
}

// Ends a connection. A report the program read just before it closed may complete its write only
// now (its completion reaches this thread after the broken read): it was delivered all the same.
static void DropConnection(int id, Connection* connection)
{
    CancelIo(connection->pipe);
    if (connection->readPending || connection->writePending) {
        DWORD ignored;
        if (connection->readPending) GetOverlappedResult(connection->pipe, &connection->readOverlapped, &ignored, TRUE);
        if (connection->writePending &&
            GetOverlappedResult(connection->pipe, &connection->writeOverlapped, &ignored, TRUE))
            RecordTakenReport(id, connection);
    }
    DisconnectNamedPipe(connection->pipe);
    CloseHandle(connection->pipe);
    CloseHandle(connection->readOverlapped.hEvent);
    CloseHandle(connection->writeOverlapped.hEvent);
    delete connection;
}

static bool HasArmedFault(SimDevice& device, SimFaultKind kind)
{
    for (size_t i = 0; i < device.faults.size(); i++)
        if (device.faults[i].kind == kind && device.faults[i].count != 0) return true;
    return false;
}

// How many pipe instances should be listening: several, so that opens that follow each other at
// once (the program's list-search-open, close-then-reopen) do not find every instance busy
// before this thread has run again; fewer while an open fault allows only so many more opens;
// none while opens are refused or the device is gone.
static const int SIM_LISTENERS = 4;

static int ListenersWanted(SimDevice& device)
{
    if (!device.present) return 0;
    int wanted = SIM_LISTENERS;
    for (size_t i = 0; i < device.faults.size(); i++) {
        const SimFault& fault = device.faults[i];
        if (fault.kind != SIM_FAULT_OPEN || fault.count == 0) continue;
        int allowed = fault.skip - device.opensSeen;
        if (allowed <= 0) return 0;
        if (allowed < wanted) wanted = allowed;
    }
    return wanted;
}

static DWORD WINAPI DeviceThreadProc(LPVOID parameter)
{
    DeviceThread* self = (DeviceThread*)parameter;
    int id = self->id;

    std::vector<Connection*> connections;
    HANDLE listeners[SIM_LISTENERS];
    OVERLAPPED listenOverlapped[SIM_LISTENERS] = {};
    for (int l = 0; l < SIM_LISTENERS; l++) {
        listeners[l] = INVALID_HANDLE_VALUE;
        listenOverlapped[l].hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    }

    LONG lastGeneration = -1;
    while (!self->stop) {
        LONG generation = self->requested;
        bool newState = generation != lastGeneration;
        lastGeneration = generation;
        bool present, writeFault, readFault;
        int listenersWanted;
        {
            SimLock lock;
            SimDevice& device = *s_devices[id];
            present = device.present;
            listenersWanted = ListenersWanted(device);
            writeFault = HasArmedFault(device, SIM_FAULT_WRITE);
            readFault = HasArmedFault(device, SIM_FAULT_READ);
        }

        // A vanished device drops every connection and stops listening. Each dropped connection is
        // a handle's end as the device sees it, recorded like every other.
        if (!present) {
            for (size_t i = 0; i < connections.size(); i++) {
                DropConnection(id, connections[i]);
                SimLock lock;
                SimLogEvent(*s_devices[id], SIM_EVENT_CLOSE, NULL, 0, false);
            }
            connections.clear();
        }
        int listening = 0;
        for (int l = 0; l < SIM_LISTENERS; l++) listening += listeners[l] != INVALID_HANDLE_VALUE;
        for (int l = SIM_LISTENERS - 1; l >= 0 && listening > listenersWanted; l--) {
            if (listeners[l] == INVALID_HANDLE_VALUE) continue;
            CancelIo(listeners[l]);
            CloseHandle(listeners[l]);
            listeners[l] = INVALID_HANDLE_VALUE;
            listening--;
        }
        for (int l = 0; l < SIM_LISTENERS && listening < listenersWanted; l++) {
            if (listeners[l] != INVALID_HANDLE_VALUE) continue;
            listeners[l] = CreateDevicePipeInstance(id);
            if (listeners[l] == INVALID_HANDLE_VALUE) break;
            listening++;
            ResetEvent(listenOverlapped[l].hEvent);
            if (ConnectNamedPipe(listeners[l], &listenOverlapped[l]) || GetLastError() == ERROR_PIPE_CONNECTED)
                SetEvent(listenOverlapped[l].hEvent);
        }

        InterlockedExchange(&self->applied, generation);

        // Take output reports, except while a write is to fail: then look for the waiting write.
        for (size_t i = 0; i < connections.size(); i++) {
            Connection* connection = connections[i];
            if (connection->readPending || writeFault) continue;
            ResetEvent(connection->readOverlapped.hEvent);
            if (ReadFile(connection->pipe, connection->readBuffer, sizeof(connection->readBuffer), NULL,
                         &connection->readOverlapped) ||
                GetLastError() == ERROR_IO_PENDING || GetLastError() == ERROR_MORE_DATA) {
                connection->readPending = true;
            } else {
                connection->readPending = true;  // completion handling below sees the failure
                SetEvent(connection->readOverlapped.hEvent);
            }
        }
        if (writeFault) {
            // A read issued before the fault was armed would take the write that is to fail: call
            // it back. One that already took a report is handled with the completions below.
            for (size_t i = 0; i < connections.size(); i++) {
                Connection* connection = connections[i];
                if (!connection->readPending) continue;
                CancelIoEx(connection->pipe, &connection->readOverlapped);
                DWORD count = 0;
                if (!GetOverlappedResult(connection->pipe, &connection->readOverlapped, &count, TRUE) &&
                    GetLastError() == ERROR_OPERATION_ABORTED)
                    connection->readPending = false;
            }
            for (size_t i = 0; i < connections.size(); i++) {
                DWORD available = 0;
                Connection* connection = connections[i];
                if (connection->readPending) continue;
                if (!PeekNamedPipe(connection->pipe, NULL, 0, NULL, &available, NULL) || available == 0) continue;
                bool fail;
                {
                    SimLock lock;
                    fail = SimTakeFault(*s_devices[id], SIM_FAULT_WRITE, -1, -1);
                    if (fail) SimLogEvent(*s_devices[id], SIM_EVENT_OUTPUT_REPORT, NULL, 0, true);
                }
                if (fail) {
                    DropConnection(id, connection);
                    connections.erase(connections.begin() + i);
                    {
                        SimLock lock;
                        SimLogEvent(*s_devices[id], SIM_EVENT_CLOSE, NULL, 0, false);
                    }
                    break;
                }
            }
        }

        // A read fault armed since the last round: a report offered before it would be read first.
        // Call the offer back so the fault decides about that report; one the program has taken
        // already counts as read.
        if (readFault && newState) {
            for (size_t i = 0; i < connections.size(); i++) {
                Connection* connection = connections[i];
                if (!connection->writePending) continue;
                CancelIoEx(connection->pipe, &connection->writeOverlapped);
                DWORD count = 0;
                if (GetOverlappedResult(connection->pipe, &connection->writeOverlapped, &count, TRUE))
                    RecordTakenReport(id, connection);
                connection->writePending = false;
            }
        }

        // Offer the next input report to the newest connection (the one the program reads from).
        if (!connections.empty()) {
            Connection* newest = connections.back();
            bool offer = false, failRead = false;
            if (!newest->writePending) {
                SimLock lock;
                SimDevice& device = *s_devices[id];
                // A streaming device makes its next report fresh once the last one was taken.
                if (device.pendingInput.empty()) SimRefillLiveInput(device);
                if (!device.pendingInput.empty()) {
                    if (SimTakeFault(device, SIM_FAULT_READ, -1, -1)) {
                        SimLogEvent(device, SIM_EVENT_INPUT_REPORT, device.pendingInput.front().data(), SIM_REPORT_SIZE,
                                    true);
                        device.pendingInput.pop_front();
                        failRead = true;
                    } else {
                        newest->offered = device.pendingInput.front();
                        offer = true;
                    }
                }
            }
            if (failRead) {
                DropConnection(id, newest);
                connections.pop_back();
                SimLock lock;
                SimLogEvent(*s_devices[id], SIM_EVENT_CLOSE, NULL, 0, false);
                continue;
            }
            if (offer) {
                ResetEvent(newest->writeOverlapped.hEvent);
                if (WriteFile(newest->pipe, newest->offered.data(), SIM_REPORT_SIZE, NULL, &newest->writeOverlapped) ||
                    GetLastError() == ERROR_IO_PENDING) {
                    newest->writePending = true;
                }
            }
        }

        // Wait for something to happen.
        std::vector<HANDLE> waits;
        waits.push_back(self->kick);
        for (int l = 0; l < SIM_LISTENERS; l++)
            if (listeners[l] != INVALID_HANDLE_VALUE) waits.push_back(listenOverlapped[l].hEvent);
        for (size_t i = 0; i < connections.size() && waits.size() < MAXIMUM_WAIT_OBJECTS - 2; i++) {
            if (connections[i]->readPending) waits.push_back(connections[i]->readOverlapped.hEvent);
            if (connections[i]->writePending) waits.push_back(connections[i]->writeOverlapped.hEvent);
        }
        WaitForMultipleObjects((DWORD)waits.size(), waits.data(), FALSE, writeFault ? 2 : 50);

        // New connections.
        for (int l = 0; l < SIM_LISTENERS; l++) {
            HANDLE listener = listeners[l];
            if (listener == INVALID_HANDLE_VALUE || WaitForSingleObject(listenOverlapped[l].hEvent, 0) != WAIT_OBJECT_0)
                continue;
            DWORD ignored;
            if (GetOverlappedResult(listener, &listenOverlapped[l], &ignored, FALSE) || GetLastError() == ERROR_PIPE_CONNECTED) {
                Connection* connection = new Connection();
                connection->pipe = listener;
                connection->readOverlapped.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
                connection->writeOverlapped.hEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
                bool drop;
                {
                    SimLock lock;
                    s_devices[id]->opensSeen++;
                    drop = SimTakeFault(*s_devices[id], SIM_FAULT_OPEN_DROP, -1, -1);
                    SimLogEvent(*s_devices[id], SIM_EVENT_OPEN, NULL, 0, drop);
                }
                if (drop) {
                    DropConnection(id, connection);
                } else {
                    connections.push_back(connection);
                }
            } else {
                CloseHandle(listener);
            }
            listeners[l] = INVALID_HANDLE_VALUE;
        }

        // Completed reads and writes.
        for (size_t i = 0; i < connections.size();) {
            Connection* connection = connections[i];
            bool broken = false;
            if (connection->readPending && WaitForSingleObject(connection->readOverlapped.hEvent, 0) == WAIT_OBJECT_0) {
                DWORD count = 0;
                connection->readPending = false;
                if (GetOverlappedResult(connection->pipe, &connection->readOverlapped, &count, FALSE) ||
                    GetLastError() == ERROR_MORE_DATA) {
                    SimReport report = {};
                    memcpy(report.data(), connection->readBuffer, count < SIM_REPORT_SIZE ? count : SIM_REPORT_SIZE);
                    SimLock lock;
                    SimLogEvent(*s_devices[id], SIM_EVENT_OUTPUT_REPORT, connection->readBuffer, (int)count, false);
                    SimHandleOutputReport(*s_devices[id], report);
                } else {
                    broken = true;
                }
            }
            // A report the program read just before closing completes its write even though the
            // closed connection also breaks the pending read: count it as delivered, never offer it twice.
            if (connection->writePending &&
                WaitForSingleObject(connection->writeOverlapped.hEvent, 0) == WAIT_OBJECT_0) {
                DWORD count = 0;
                connection->writePending = false;
                if (GetOverlappedResult(connection->pipe, &connection->writeOverlapped, &count, FALSE)) {
                    RecordTakenReport(id, connection);
                } else {
                    broken = true;
                }
            }
            if (broken) {
                DropConnection(id, connection);
                connections.erase(connections.begin() + i);
                SimLock lock;
                SimLogEvent(*s_devices[id], SIM_EVENT_CLOSE, NULL, 0, false);
                continue;
            }
            i++;
        }
    }

    for (size_t i = 0; i < connections.size(); i++) DropConnection(id, connections[i]);
    for (int l = 0; l < SIM_LISTENERS; l++) {
        if (listeners[l] != INVALID_HANDLE_VALUE) {
            CancelIo(listeners[l]);
            CloseHandle(listeners[l]);
        }
        CloseHandle(listenOverlapped[l].hEvent);
    }
    return 0;
}

// ---- Control pipe: the hid.dll's calls

static SimDevice* FindPresentDevice(DWORD id)
{
    if (id >= s_devices.size() || !s_devices[id] || !s_devices[id]->present) return NULL;
    return s_devices[id];
}

// A vanish fault: the call fails, the device is gone from the list and its thread drops every
// connection, as when it is unplugged.
static void VanishNow(SimDevice& device, SimEventKind kind, const BYTE* report)
{
    SimLogEvent(device, kind, report, report ? SIM_FEATURE_SIZE : 0, true);
    device.present = false;
    device.pendingInput.clear();
    KickDevice(device.id);
}

static void HandleRequest(const SimRequest& request, SimReply& reply)
{
    // The program's handle may belong to a connection the device thread has not taken yet (an
    // open that a fault drops); let it act first, so the hid.dll sees the handle as it will be.
    if (request.operation != SIM_OP_LIST) SettleDevice((int)request.device);
    SimLock lock;
    reply.ok = 0;
    reply.length = 0;
    if (request.operation == SIM_OP_LIST) {
        DWORD count = 0;
        reply.ok = 1;
        if (s_failEnumeration) return;  // an empty reply: the enumeration itself fails
        for (size_t i = 0; i < s_devices.size() && count < (DWORD)SIM_MAX_LISTED; i++) {
            if (!s_devices[i] || !s_devices[i]->present) continue;
            DWORD id = (DWORD)i;
            memcpy(reply.data + 4 + 4 * count, &id, 4);
            reply.data[4 + 4 * SIM_MAX_LISTED + count] = s_devices[i]->detailSizeFault;
            count++;
        }
        memcpy(reply.data, &count, 4);
        reply.length = 4 + 4 * SIM_MAX_LISTED + count;
        return;
    }
    SimDevice* device = FindPresentDevice(request.device);
    if (!device) return;
    switch (request.operation) {
    case SIM_OP_CAPS:
        memcpy(reply.data, &device->usagePage, 2);
        memcpy(reply.data + 2, &device->usage, 2);
        reply.length = 4;
        reply.ok = 1;
        break;
    case SIM_OP_ATTRIBUTES:
        memcpy(reply.data, &device->vendorId, 2);
        memcpy(reply.data + 2, &device->productId, 2);
        memcpy(reply.data + 4, &device->versionNumber, 2);
        reply.length = 6;
        reply.ok = 1;
        break;
    case SIM_OP_PRODUCT: {
        size_t chars = device->productString.size();
        if (chars > SIM_PAYLOAD_BYTES / 2 - 1) chars = SIM_PAYLOAD_BYTES / 2 - 1;
        memcpy(reply.data, device->productString.data(), chars * 2);
        reply.length = (DWORD)(chars * 2);
        reply.ok = 1;
        break;
    }
    case SIM_OP_SET_FEATURE: {
        BYTE report[SIM_FEATURE_SIZE] = {};
        memcpy(report, request.data, request.length < SIM_FEATURE_SIZE ? request.length : SIM_FEATURE_SIZE);
        if (SimTakeFault(*device, SIM_FAULT_VANISH, report[1], report[2])) {
            VanishNow(*device, SIM_EVENT_SET_FEATURE, report);
            return;
        }
        if (SimTakeFault(*device, SIM_FAULT_SET_FEATURE, report[1], report[2])) {
            SimLogEvent(*device, SIM_EVENT_SET_FEATURE, report, SIM_FEATURE_SIZE, true);
            return;
        }
        SimLogEvent(*device, SIM_EVENT_SET_FEATURE, report, SIM_FEATURE_SIZE, false);
        device->lastFeatureCommand = report[1];
        SimHandleSetFeature(*device, report);
        reply.ok = 1;
        KickDevice(device->id);
        break;
    }
    case SIM_OP_GET_FEATURE: {
        BYTE report[SIM_FEATURE_SIZE] = {};
        if (SimTakeFault(*device, SIM_FAULT_VANISH_ON_GET, device->lastFeatureCommand, -1)) {
            VanishNow(*device, SIM_EVENT_GET_FEATURE, NULL);
            return;
        }
        if (SimTakeFault(*device, SIM_FAULT_GET_FEATURE, device->lastFeatureCommand, -1)) {
            SimLogEvent(*device, SIM_EVENT_GET_FEATURE, NULL, 0, true);
            return;
        }
        SimHandleGetFeature(*device, report);
        SimLogEvent(*device, SIM_EVENT_GET_FEATURE, report, SIM_FEATURE_SIZE, false);
        memcpy(reply.data, report, SIM_FEATURE_SIZE);
        reply.length = SIM_FEATURE_SIZE;
        reply.ok = 1;
        KickDevice(device->id);
        break;
    }
    default:
        break;
    }
}

// Serves one request per connection; each connection is handled on its own thread so that two
// processes (the program and a test) never wait for each other.
static DWORD WINAPI ControlConnectionProc(LPVOID parameter)
{
    HANDLE pipe = (HANDLE)parameter;
    SimRequest request;
    SimReply reply;
    DWORD count = 0;
    if (ReadFile(pipe, &request, sizeof(request), &count, NULL) && count >= 12) {
        HandleRequest(request, reply);
        WriteFile(pipe, &reply, 8 + reply.length, &count, NULL);
        FlushFileBuffers(pipe);
    }
    DisconnectNamedPipe(pipe);
    CloseHandle(pipe);
    return 0;
}

static HANDLE CreateControlInstance(const std::string& name)
{
    for (;;) {
        HANDLE pipe = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                                       PIPE_UNLIMITED_INSTANCES, sizeof(SimReply), sizeof(SimRequest), 0, NULL);
        if (pipe != INVALID_HANDLE_VALUE) return pipe;
        Sleep(10);
    }
}

// The next instance is created before a connected one is handed to its thread: that thread may
// answer and close its instance at once, and a pipe left without any instance for a moment makes
// a caller's open fail as if there were no server at all.
static DWORD WINAPI ControlServerProc(LPVOID)
{
    std::string name = "\\\\.\\pipe\\" + s_pipeBase;
    HANDLE listening = CreateControlInstance(name);
    for (;;) {
        HANDLE pipe = listening;
        if (!ConnectNamedPipe(pipe, NULL) && GetLastError() != ERROR_PIPE_CONNECTED) {
            DisconnectNamedPipe(pipe);
            continue;
        }
        listening = CreateControlInstance(name);
        HANDLE thread = CreateThread(NULL, 0, ControlConnectionProc, pipe, 0, NULL);
        if (thread) {
            CloseHandle(thread);
        } else {
            DisconnectNamedPipe(pipe);
            CloseHandle(pipe);
        }
    }
    return 0;
}

void SimStartServer()
{
    if (s_started) return;
    InitializeCriticalSection(&s_lock);
    char base[128];
    DWORD length = GetEnvironmentVariableA(SIM_PIPE_ENV, base, sizeof(base));
    if (length == 0 || length >= sizeof(base)) {
        snprintf(base, sizeof(base), "%s-%lu", SIM_DEFAULT_PIPE_BASE, GetCurrentProcessId());
        SetEnvironmentVariableA(SIM_PIPE_ENV, base);
    }
    s_pipeBase = base;
    s_started = true;
    HANDLE thread = CreateThread(NULL, 0, ControlServerProc, NULL, 0, NULL);
    if (thread) CloseHandle(thread);
}

static void StopDeviceThread(int id)
{
    DeviceThread* thread = s_threads[id];
    if (!thread) return;
    InterlockedExchange(&thread->stop, 1);
    SetEvent(thread->kick);
    WaitForSingleObject(thread->thread, 5000);
    CloseHandle(thread->thread);
    CloseHandle(thread->kick);
    delete thread;
    s_threads[id] = NULL;
}

void SimResetDevices()
{
    std::vector<int> ids;
    {
        SimLock lock;
        for (size_t i = 0; i < s_devices.size(); i++)
            if (s_devices[i] && s_devices[i]->present) ids.push_back((int)i);
        for (size_t i = 0; i < s_devices.size(); i++)
            if (s_devices[i]) s_devices[i]->present = false;
        s_failEnumeration = false;
    }
    for (size_t i = 0; i < s_threads.size(); i++) StopDeviceThread((int)i);
}

int SimAddDevice(const char* name, const char* firmware)
{
    SimStartServer();
    SimDevice* device = new SimDevice();
    device->kind = SIM_KIND_DEVICE;
    device->mode = SIM_MODE_APPLICATION;
    device->vendorId = DEFAULT_DEVICE_VENDOR_ID;
    device->productId = DEFAULT_DEVICE_PRODUCT_ID;
    device->versionNumber = 0x0100;
    device->usagePage = 0xFF00;
    device->usage = 1;
    device->productString = L"Dolvan USB device";
    memset(device->name, ' ', 16);
    device->name[16] = 0;
    memcpy(device->name, name, strlen(name) < 16 ? strlen(name) : 16);
    memset(device->firmware, 0, sizeof(device->firmware));
    memcpy(device->firmware, firmware, strlen(firmware) < 8 ? strlen(firmware) : 8);
    device->present = true;
    device->silent = false;
    device->detailSizeFault = 0;
    device->storeStepsDone = 0;
    device->jumperFitted = true;
    device->statusWord = 0;
    device->configMode = false;
    device->lastFeatureCommand = 0;
    device->opensSeen = 0;

    int id;
    {
        SimLock lock;
        id = (int)s_devices.size();
        device->id = id;
        s_devices.push_back(device);
        s_threads.push_back(NULL);
    }
    DeviceThread* thread = new DeviceThread();
    thread->id = id;
    thread->kick = CreateEventA(NULL, FALSE, FALSE, NULL);
    thread->stop = 0;
    thread->requested = 0;
    thread->applied = -1;
    {
        SimLock lock;
        s_threads[id] = thread;
    }
    thread->thread = CreateThread(NULL, 0, DeviceThreadProc, thread, 0, NULL);
    SettleDevice(id);
    return id;
}

SimDevice* SimGetDevice(int id)
{
    if (id < 0 || id >= (int)s_devices.size()) return NULL;
    return s_devices[id];
}

void SimSetPresent(int id, bool present)
{
    {
        SimLock lock;
        SimDevice* device = SimGetDevice(id);
        if (!device) return;
        device->present = present;
        if (!present) device->pendingInput.clear();
    }
    SettleDevice(id);
}

void SimAddFault(int id, const SimFault& fault)
{
    {
        SimLock lock;
        SimDevice* device = SimGetDevice(id);
        if (!device) return;
        device->faults.push_back(fault);
    }
    SettleDevice(id);
}

void SimClearFaults(int id)
{
    {
        SimLock lock;
        SimDevice* device = SimGetDevice(id);
        if (!device) return;
        device->faults.clear();
    }
    SettleDevice(id);
}

void SimFailEnumeration(bool fail)
{
    SimLock lock;
    s_failEnumeration = fail;
}

bool SimEnumerationFails()
{
    SimLock lock;
    return s_failEnumeration;
}

std::vector<SimEvent> SimGetEvents(int id)
{
    SimLock lock;
    SimDevice* device = SimGetDevice(id);
    return device ? device->events : std::vector<SimEvent>();
}

void SimClearEvents(int id)
{
    SimLock lock;
    SimDevice* device = SimGetDevice(id);
    if (device) device->events.clear();
}

void SimQueueInput(int id, const SimReport& report)
{
    {
        SimLock lock;
        SimDevice* device = SimGetDevice(id);
        if (!device) return;
        device->pendingInput.push_back(report);
    }
    KickDevice(id);
}

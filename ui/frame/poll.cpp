// Host polling: the status and online callbacks and the sanitising of their records.
#include <cstring>

#include "frame.h"
#include "state.h"

void sanitise_status(vl_status *status) {
    status->message[sizeof status->message - 1] = '\0';
    status->rom_path[sizeof status->rom_path - 1] = '\0';
}

void sanitise_online(vl_online_status *online) {
    for (auto &name : online->slot_name) name[sizeof name - 1] = '\0';
    online->address[sizeof online->address - 1] = '\0';
    online->host_message[sizeof online->host_message - 1] = '\0';
    for (auto &address : online->addresses) address[sizeof address - 1] = '\0';
    if (static_cast<uint32_t>(online->quality) > VL_QUALITY_POOR) online->quality = VL_QUALITY_MEASURING;
}

// Without a status callback there is no poll at all, the online one included; the
// loop never calls this then, and the guard keeps a direct call safe.
void poll_host() {
    if (!vl.status_poll) return;
    vl_status status;
    std::memset(&status, 0, sizeof status);
    vl.status_poll(&status);
    sanitise_status(&status);
    vl.status = status;

    if (vl.online_poll) {
        vl_online_status online;
        std::memset(&online, 0, sizeof online);
        for (int32_t &ping : online.slot_ping) ping = -1;
        online.local_slot = -1;
        vl.online_poll(&online);
        sanitise_online(&online);
        vl.online = online;
    }
    build_page();
}

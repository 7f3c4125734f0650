// The stand-in game's trace: every call the radio makes, in order, one line each, kept for the
// tests and handed to the sink.
#include <cstdio>
#include <mutex>

#include "fake_host.h"
#include "host_record.h"

namespace fakehost {

namespace {

// Media commands may be recorded from the radio's own thread (media_thread) while the script
// records natives.
std::recursive_mutex eventsLock;

}  // namespace

void Emit(Event event) {
    std::lock_guard<std::recursive_mutex> hold(eventsLock);
    if (host.sink) {
        host.sink(event);
    }
    if (host.keep) {
        host.events.push_back(std::move(event));
    }
}

std::string Hex(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

void Record(EventKind kind, std::string line) {
    Event event;
    event.kind = kind;
    event.line = std::move(line);
    Emit(std::move(event));
}

const std::vector<Event>& Events() {
    return host.events;
}

void ClearEvents() {
    std::lock_guard<std::recursive_mutex> hold(eventsLock);
    host.events.clear();
}

std::vector<std::string> Lines() {
    std::lock_guard<std::recursive_mutex> hold(eventsLock);
    std::vector<std::string> lines;
    for (const Event& event : host.events) {
        lines.push_back(event.line);
    }
    return lines;
}

std::vector<std::string> Lines(EventKind kind) {
    std::lock_guard<std::recursive_mutex> hold(eventsLock);
    std::vector<std::string> lines;
    for (const Event& event : host.events) {
        if (event.kind == kind) {
            lines.push_back(event.line);
        }
    }
    return lines;
}

void SetEventSink(std::function<void(const Event&)> sink) {
    host.sink = std::move(sink);
}

void SetRecording(bool keep) {
    host.keep = keep;
}

}  // namespace fakehost

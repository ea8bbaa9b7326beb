// What a plug-in may do from a thread of its own. The program's state (the
// flight, the world, the menus, the drawing context) belongs to its main
// thread, which reads and changes it every frame without a lock: a call from
// another thread that changed it would race the frame (two starts writing
// one file path, a menu freed while it is drawn). So each host service that
// changes the program checks where it is called from. On the main thread it
// runs at once, as always; off it, it is queued and run at the start of the
// next frame, or, when it must answer at once (a new menu's number), draws or
// starts a flight (queued, a thread asking every few milliseconds started the
// flight again at every frame), refused. Services that only read, speak, log or edit the flight plan run
// where they are called. Each plug-in's queued and refused calls are counted
// and named by its library's file name.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

// True on the thread that runs the program's frames.
bool PLUGIN_on_main_thread();

// Queues `call` for the next frame on behalf of the plug-in whose code holds
// `caller` (the address the call returns to). A full queue refuses it.
void PLUGIN_queue_call(const void* caller, std::function<void()> call);
// Counts a refused call of the plug-in whose code holds `caller`.
void PLUGIN_refuse_call(const void* caller);
// Runs the calls queued since the last frame, in order (main thread, once a frame).
void PLUGIN_run_queued_calls();
// Writes one line per plug-in whose calls were queued or refused, with the
// counts (at the shut-down).
void PLUGIN_report_thread_calls();

// Writes a plug-in's text to the log: at once on the main thread, from
// another thread at the next frame (the main thread writes the log without a
// lock). A plug-in's output is bounded: past PLUGIN_LOG_BYTES from the
// plug-in whose code holds `caller`, one line says the rest was cut and
// nothing more of it is written.
void PLUGIN_log_text(const void* caller, const char* text, size_t bytes);
constexpr size_t PLUGIN_LOG_BYTES = 1 << 20;

// The plug-in named for an address in its code ("a plug-in" when none is found).
std::string PLUGIN_name_of(const void* caller);
// Forgets the queue and the counts (registered with the program resets).
void PLUGIN_threads_reset();

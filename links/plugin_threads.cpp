// The plug-ins' calls from threads of their own, and their log allowance.
#include "links/plugin_threads.h"

#include <algorithm>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "core/folders.h"
#include "core/reset_registry.h"
#include "platform/plat_dl.h"

namespace {

// Taken while the program's static objects are built, on the thread that
// then runs main and so the frames.
const std::thread::id main_thread_id = std::this_thread::get_id();

// More calls than a plug-in can mean to make in one frame: beyond it a
// thread calling in a loop is refused rather than growing the queue without end.
constexpr size_t QUEUE_MAX = 1024;
// A plug-in's text waiting for the next frame, over all plug-ins.
constexpr size_t PENDING_LOG_MAX = 4 * PLUGIN_LOG_BYTES;

struct plugin_counts {
    long long queued = 0;
    long long refused = 0;
    bool said = false;          // its first call from another thread was logged
    size_t log_bytes = 0;       // of its allowance
    bool log_cut = false;       // the line saying its output was cut is written
};


struct thread_calls_state {
    std::mutex mutex;
    std::deque<std::function<void()>> queue;
    std::map<std::string, plugin_counts> plugins;
    std::string pending_log;   // lines for the log at the next frame
};

// Never destroyed: a plug-in's thread may still call while the program's
// static objects are torn down at its exit.
thread_calls_state& state()
{
    static thread_calls_state* s = new thread_calls_state;
    return *s;
}

// The log's text for a plug-in's first call from another thread (under the lock).
void note_first(const std::string& name, plugin_counts& c, std::string& log)
{
    if (c.said) return;
    c.said = true;
    log += "Plug-in " + name +
           " calls the program from a thread of its own: calls that change the program are run at the next "
           "frame or refused, and counted at the quit\n";
}

void write_log(const std::string& text)
{
    if (text.empty()) return;
    error_log.write(text.data(), static_cast<std::streamsize>(text.size()));
    error_log.flush();
}

}  // namespace

bool PLUGIN_on_main_thread() { return std::this_thread::get_id() == main_thread_id; }

std::string PLUGIN_name_of(const void* caller)
{
    const std::string name = PLAT_dl_library_of(caller);
    return name.empty() ? "a plug-in" : name;
}

void PLUGIN_queue_call(const void* caller, std::function<void()> call)
{
    const std::string name = PLUGIN_name_of(caller);
    thread_calls_state& s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    plugin_counts& c = s.plugins[name];
    note_first(name, c, s.pending_log);
    if (s.queue.size() >= QUEUE_MAX) {
        ++c.refused;
        return;
    }
    ++c.queued;
    s.queue.push_back(std::move(call));
}

void PLUGIN_refuse_call(const void* caller)
{
    const std::string name = PLUGIN_name_of(caller);
    thread_calls_state& s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    plugin_counts& c = s.plugins[name];
    note_first(name, c, s.pending_log);
    ++c.refused;
}

void PLUGIN_run_queued_calls()
{
    thread_calls_state& s = state();
    std::deque<std::function<void()>> calls;
    std::string log;
    {
        const std::lock_guard<std::mutex> lock(s.mutex);
        calls.swap(s.queue);
        log.swap(s.pending_log);
    }
    write_log(log);
    // Run without the lock: a call may lead to a plug-in's hook, which may
    // call the host again.
    for (std::function<void()>& call : calls) call();
}

void PLUGIN_report_thread_calls()
{
    thread_calls_state& s = state();
    std::string log;
    {
        const std::lock_guard<std::mutex> lock(s.mutex);
        log.swap(s.pending_log);
        for (const auto& [name, c] : s.plugins) {
            if (c.queued == 0 && c.refused == 0) continue;
            log += "Plug-in " + name + " called the program from a thread of its own: " + std::to_string(c.queued) +
                   " calls queued for the next frame, " + std::to_string(c.refused) + " refused\n";
        }
    }
    write_log(log);
}

void PLUGIN_log_text(const void* caller, const char* text, size_t bytes)
{
    const std::string name = PLUGIN_name_of(caller);
    const bool main_thread = PLUGIN_on_main_thread();
    thread_calls_state& s = state();
    std::string out;
    {
        const std::lock_guard<std::mutex> lock(s.mutex);
        plugin_counts& c = s.plugins[name];
        const size_t allowed = std::min(bytes, PLUGIN_LOG_BYTES - c.log_bytes);
        c.log_bytes += allowed;
        std::string chunk(text, allowed);
        if (allowed < bytes && !c.log_cut) {
            c.log_cut = true;
            chunk += "\nPlug-in " + name + " wrote more than " + std::to_string(PLUGIN_LOG_BYTES >> 20) +
                     " MiB to the log: the rest of its log output is left out\n";
        }
        if (main_thread) {
            // Lines from other threads waiting for the frame go first, in the order written.
            out.swap(s.pending_log);
            out += chunk;
        } else if (s.pending_log.size() + chunk.size() <= PENDING_LOG_MAX) {
            s.pending_log += chunk;
        }
    }
    if (main_thread) write_log(out);
}

void PLUGIN_threads_reset()
{
    thread_calls_state& s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    s.queue.clear();
    s.plugins.clear();
    s.pending_log.clear();
}
ORVELL_RESET(PLUGIN_threads_reset, program);

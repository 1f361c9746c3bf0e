// Preloaded into the program by the Wayland end-to-end test. Once Qt's Wayland
// event thread is woken, it waits 300 ms before it takes its lock back, so a
// close that finds the thread woken but not yet running is no longer a rare race:
// the plugin's teardown then hangs every time unless the program avoids it.

#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <pthread.h>

namespace {

using CondWait = int (*)(pthread_cond_t *, pthread_mutex_t *);

bool isWaylandEventThread()
{
    // Thread names are cut to 15 characters: "WaylandEventThread" reads so.
    constexpr char kName[] = "WaylandEventThr";
    char name[16] = {};
    return pthread_getname_np(pthread_self(), name, sizeof name) == 0 &&
           std::strncmp(name, kName, sizeof kName - 1) == 0;
}

} // namespace

extern "C" int pthread_cond_wait(pthread_cond_t *cond, pthread_mutex_t *mutex)
{
    static const auto next = reinterpret_cast<CondWait>(dlsym(RTLD_NEXT, "pthread_cond_wait"));
    const int result = next(cond, mutex);
    if (isWaylandEventThread()) {
        pthread_mutex_unlock(mutex);
        const timespec pause{0, 300'000'000};
        nanosleep(&pause, nullptr);
        pthread_mutex_lock(mutex);
    }
    return result;
}

// Stands in for the game in the tests: it only waits to be ended, ten minutes at most should a
// test fail to end it.
#include <chrono>
#include <thread>

int main() {
    std::this_thread::sleep_for(std::chrono::minutes(10));
}

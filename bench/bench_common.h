// Pieces several benchmarks share: a photograph-like picture and the
// generation of a benchmark database in a child process, so the figures of
// the measuring process are not those of the generation.
#pragma once

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace benchcommon {

// Something like a photograph: smooth shading with fine noise.
inline QImage samplePhoto(int w, int h) {
    QImage img(w, h, QImage::Format_RGB888);
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> noise(-12, 12);
    for (int y = 0; y < h; ++y) {
        uchar* row = img.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const int base = (x * 200 / w + y * 55 / h);
            row[3 * x] = uchar(std::clamp(base + noise(rng), 0, 255));
            row[3 * x + 1] = uchar(std::clamp(255 - base + noise(rng), 0, 255));
            row[3 * x + 2] = uchar((x ^ y) & 0x7F);
        }
    }
    return img;
}

// Runs `generate` in a child process and waits for it; false when it failed.
template <class F>
bool generateInChild(F generate) {
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        generate();
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    std::fprintf(stderr, "generating the benchmark database failed\n");
    return false;
}

}  // namespace benchcommon

// noisy_data FOLDER: writes the data of the manual's worked example into FOLDER, the same numbers
// on every machine (a fixed seed, and noise drawn without the library's normal distribution,
// whose numbers the standard leaves open):
//   noisy_sine.txt     x and y = 2 + 1.5 sin(0.6 x) plus noise, x from 0 to 10 in steps of 0.1
//   noisy_surface.txt  x1, x2 and z = 9 exp(-((x1 - 4)^2 + (x2 - 6)^2) / 10) plus noise,
//                      on a 21 by 21 grid over [0, 10] x [0, 10]
// Each file starts with a line of column names and holds one row of tab-separated numbers a line.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <random>
#include <string>

namespace {

// Gaussian noise by the Box-Muller method from the engine's exactly specified numbers.
class Noise {
  public:
    explicit Noise(double deviation) : deviation_(deviation) {}

    double operator()() {
        const double u1 = (static_cast<double>(engine_()) + 1.0) / 4294967296.0;
        const double u2 = static_cast<double>(engine_()) / 4294967296.0;
        return deviation_ * std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
    }

  private:
    std::mt19937 engine_{20240607u};
    double deviation_;
};

bool WriteSine(const std::string& path) {
    std::ofstream file(path);
    Noise noise(0.15);
    file << "x\ty\n";
    for (int i = 0; i <= 100; ++i) {
        const double x = i / 10.0;
        const double y = 2 + 1.5 * std::sin(0.6 * x) + noise();
        char line[64];
        std::snprintf(line, sizeof line, "%.1f\t%.4f\n", x, y);
        file << line;
    }
    return static_cast<bool>(file);
}

bool WriteSurface(const std::string& path) {
    std::ofstream file(path);
    Noise noise(0.3);
    file << "x1\tx2\tz\n";
    for (int i = 0; i <= 20; ++i) {
        for (int j = 0; j <= 20; ++j) {
            const double x1 = i / 2.0;
            const double x2 = j / 2.0;
            const double d = (x1 - 4) * (x1 - 4) + (x2 - 6) * (x2 - 6);
            const double z = 9 * std::exp(-d / 10) + noise();
            char line[80];
            std::snprintf(line, sizeof line, "%.1f\t%.1f\t%.4f\n", x1, x2, z);
            file << line;
        }
    }
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: noisy_data FOLDER\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    if (!WriteSine(folder + "/noisy_sine.txt") || !WriteSurface(folder + "/noisy_surface.txt")) {
        std::fprintf(stderr, "noisy_data: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}

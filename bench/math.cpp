// The matrix operations that skinning runs for every blended vertex each frame.
#include "base/vecmath.h"

#include <benchmark/benchmark.h>

static Matrix4 sampleMatrix() {
    Matrix4 a, b;
    double angleA = 30.0, angleB = -20.0;
    a.setRotationX(angleA);
    b.setRotationY(angleB);
    Matrix4 m = a * b;
    m.m[12] = 1.5, m.m[13] = -2.0, m.m[14] = 0.25;
    return m;
}

static void matrixProduct(benchmark::State& state) {
    Matrix4 a = sampleMatrix(), b = invertMatrix(a);
    for (auto _ : state) {
        Matrix4 c = a * b;
        benchmark::DoNotOptimize(c);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(matrixProduct);

static void matrixInverse(benchmark::State& state) {
    Matrix4 a = sampleMatrix();
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        Matrix4 c = invertMatrix(a);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(matrixInverse);

static void pointTransform(benchmark::State& state) {
    Matrix4 a = sampleMatrix();
    Vec3 v(1, 2, 3);
    for (auto _ : state) {
        a.transformPoint(v);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(pointTransform);

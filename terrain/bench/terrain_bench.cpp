// Triangulation of random surveys and contour repaints.
//
//   terrain_bench [--benchmark_filter=...]
//   terrain_bench --write-points N SEED FILE   writes the benchmark's points
//                                              (x y per line) and, to
//                                              FILE.tri, their triangles (point
//                                              line numbers from 0), for
//                                              comparison with other
//                                              triangulators (scipy_delaunay.py)
#include "common/canvas.h"
#include "terrain/contours.h"
#include "terrain/delaunay.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace velmora;
using namespace velmora::terrain;

namespace {

struct Point {
    double x, y, z;
};

// Uniform random points in a 10,000 x 10,000 square (general position).
std::vector<Point> random_points(int n, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> u(0, 10000);
    std::vector<Point> pts(static_cast<size_t>(n));
    for (auto& p : pts) {
        p.x = u(rng);
        p.y = u(rng);
        p.z = 1000 + p.x / 100 + p.y / 200;
    }
    return pts;
}

void BM_Delaunay(benchmark::State& state) {
    const auto pts = random_points(static_cast<int>(state.range(0)), 42);
    int triangles = 0;
    for (auto _ : state) {
        TDelaunay mesh;
        for (size_t i = 0; i < pts.size(); ++i) mesh.AddPoint(pts[i].x, pts[i].y, pts[i].z, static_cast<int>(i) + 1);
        mesh.Mesh();
        triangles = mesh.triangle_count();
        benchmark::DoNotOptimize(triangles);
    }
    state.counters["triangles"] = triangles;
}
BENCHMARK(BM_Delaunay)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A plan of 5,000 surveyed points on rolling ground, as 50 pipelines of 100
// points over a 1,500 x 1,000 pixel plan.
PlanLists survey_plan() {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> u(0, 1);
    PlanLists plan;
    for (int p = 0; p < 50; ++p) {
        std::vector<std::string> xs, ys, zs, ns;
        for (int k = 0; k < 100; ++k) {
            int x = static_cast<int>(20 + 1460 * u(rng));
            int y = static_cast<int>(20 + 960 * u(rng));
            double z = 1000 + 60 * std::sin(x / 300.0) + 40 * std::cos(y / 250.0) + x / 50.0;
            xs.push_back(std::to_string(x));
            ys.push_back(std::to_string(y));
            zs.push_back(std::to_string(z));
            ns.push_back(std::to_string(p * 100 + k + 1));
        }
        plan.tramosx.push_back(xs);
        plan.tramosy.push_back(ys);
        plan.tramosz.push_back(zs);
        plan.tramosnudos.push_back(ns);
    }
    return plan;
}

void BM_ContourRepaint(benchmark::State& state) {
    const PlanLists plan = survey_plan();
    ContourMap map(Designer::Kelvaro);
    RecordingCanvas first;
    map.definirmalla(plan, first, "10");
    size_t segments = 0;
    for (auto _ : state) {
        RecordingCanvas canvas;
        map.dibujarcurvas(canvas, 1, 1, plan, "10");
        segments = canvas.ops.size();
        benchmark::DoNotOptimize(segments);
    }
    state.counters["drawn"] = static_cast<double>(segments);
    state.counters["triangles"] = map.TheMesh().triangle_count();
}
BENCHMARK(BM_ContourRepaint)->Unit(benchmark::kMillisecond);

// The first drawing after definirmalla, which interpolates the grid.
void BM_ContourFirstDrawing(benchmark::State& state) {
    const PlanLists plan = survey_plan();
    for (auto _ : state) {
        ContourMap map(Designer::Kelvaro);
        RecordingCanvas canvas;
        map.definirmalla(plan, canvas, "10");
        benchmark::DoNotOptimize(canvas.ops.size());
    }
}
BENCHMARK(BM_ContourFirstDrawing)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--write-points") == 0) {
        const auto pts = random_points(std::atoi(argv[2]), static_cast<unsigned>(std::atoi(argv[3])));
        std::FILE* f = std::fopen(argv[4], "w");
        if (!f) return 2;
        for (const auto& p : pts) std::fprintf(f, "%.17g %.17g\n", p.x, p.y);
        std::fclose(f);
        TDelaunay mesh;
        for (size_t i = 0; i < pts.size(); ++i) mesh.AddPoint(pts[i].x, pts[i].y, pts[i].z, static_cast<int>(i) + 1);
        mesh.Mesh();
        std::printf("%d points, %d triangles\n", mesh.tPoints() - 1, mesh.triangle_count());
        // The triangles by the points' line numbers (from 0), one per line.
        std::FILE* t = std::fopen((std::string(argv[4]) + ".tri").c_str(), "w");
        if (!t) return 2;
        for (int k = 1; k <= mesh.triangle_count(); ++k) {
            const auto& tr = mesh.triangle(k);
            std::fprintf(t, "%d %d %d\n", mesh.vertex(tr.vv0).node - 1, mesh.vertex(tr.vv1).node - 1,
                         mesh.vertex(tr.vv2).node - 1);
        }
        std::fclose(t);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

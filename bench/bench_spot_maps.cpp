// Redrawing the spot maps with a full store, as a stored spot makes them do:
// the 10 m band map across a 1366-pixel main window, and the spectrum map
// over a 1366 x 768 work area with spots on every band. Each turn works the
// map out from the store and paints it into an image. Goals on this
// machine: under 2 ms for the band map, under 5 ms for the spectrum map.
#include "spots/SpotMapLayout.h"
#include "spots/SpotStore.h"
#include "spots/ui/SpotMapView.h"

#include <QImage>

#include <benchmark/benchmark.h>

using namespace tenlog::spots;

namespace {

const QDateTime kNow(QDate(2013, 12, 14), QTime(9, 30, 0));

// 50 spots, a minute apart, spread over the rows (or over 10 m alone).
SpotStore fullStore(bool allBands)
{
    SpotStore store;
    for (int i = 0; i < SpotStore::kSize; ++i) {
        const BandRow& row = allBands ? spectrumRows()[static_cast<size_t>(i % spectrumRows().size())] : tenMetreRow();
        const float span = row.edges.high - row.edges.low;
        Spot spot;
        spot.call = QStringLiteral("K%1ABC").arg(i % 10) + QChar(u'A' + i % 26);
        spot.frequencyMhz = row.edges.low + span * static_cast<float>((i * 37) % 97 + 1) / 99.0f;
        spot.time = kNow.addSecs(-60 * (SpotStore::kSize - i));
        spot.label = spot.call.left(2);
        store.push(spot);
    }
    return store;
}

void redraw(benchmark::State& state, SpotMapView& view, const std::function<SpotMap()>& layOut)
{
    QImage image(view.size(), QImage::Format_RGB32);
    size_t drawn = 0;
    for (auto _ : state) {
        view.setMap(layOut());
        view.render(&image);
        drawn = view.map().spots.size();
    }
    state.counters["spots_drawn"] = static_cast<double>(drawn);
}

void BM_BandMapRedraw(benchmark::State& state)
{
    const SpotStore store = fullStore(false);
    SpotMapView view;
    view.resize(1325, 76);
    redraw(state, view, [&store] { return tenMetreMap(store, kNow, 5); });
}
BENCHMARK(BM_BandMapRedraw)->Unit(benchmark::kMicrosecond);

void BM_SpectrumMapRedraw(benchmark::State& state)
{
    const SpotStore store = fullStore(true);
    SpotMapView view;
    view.resize(1366, 749);
    redraw(state, view, [&store] { return spectrumMap(store, kNow, 5); });
}
BENCHMARK(BM_SpectrumMapRedraw)->Unit(benchmark::kMicrosecond);

} // namespace

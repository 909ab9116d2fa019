// Cost of the transmitter list: creating an empty box (the baseline), filling its 65,522
// entries, and opening its drop-down; offscreen, so only the tool's own work is measured.
#include "editor/TransmitterIdListModel.h"

#include <QApplication>
#include <QComboBox>
#include <benchmark/benchmark.h>

namespace {

QComboBox* transmitterBox(QWidget* parent, kym::TransmitterIdListModel*& model) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setCompleter(nullptr);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(4);
    model = kym::TransmitterIdListModel::install(box);
    return box;
}

void CreateEmptyBox(benchmark::State& state) {
    QWidget window;
    for (auto _ : state) {
        QComboBox box(&window);
        benchmark::DoNotOptimize(box.count());
    }
}
BENCHMARK(CreateEmptyBox)->Unit(benchmark::kMillisecond);

void FillTransmitterIDList(benchmark::State& state) {
    QWidget window;
    for (auto _ : state) {
        kym::TransmitterIdListModel* model = nullptr;
        QComboBox* box = transmitterBox(&window, model);
        model->fill();
        benchmark::DoNotOptimize(box->count());
        state.PauseTiming();
        delete box;
        state.ResumeTiming();
    }
}
BENCHMARK(FillTransmitterIDList)->Unit(benchmark::kMillisecond);

void OpenTransmitterDropDown(benchmark::State& state) {
    QWidget window;
    window.resize(400, 300);
    kym::TransmitterIdListModel* model = nullptr;
    QComboBox* box = transmitterBox(&window, model);
    model->fill();
    box->setGeometry(10, 10, 146, 24);
    window.show();
    for (auto _ : state) {
        box->showPopup();
        QApplication::processEvents();
        state.PauseTiming();
        box->hidePopup();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenTransmitterDropDown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

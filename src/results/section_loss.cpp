#include "results/section_loss.h"

#include "calc/media.h"
#include "results/table_layout.h"

#include <algorithm>
#include <cmath>

namespace kolmaris {

std::optional<double> SectionLoss::total() const {
    if (!fittings) {
        return std::nullopt;
    }
    return pipeLoss + fittings->loss;
}

std::optional<FittingFlow> fittingFlowOf(const ResultValues& values, std::string& problem) {
    const auto& in = values.origin.inputs;
    if (!in) {
        problem = "Die Eingaben der Zeile sind nicht gespeichert: ihr Medium und damit die "
                  "Dichte ρ sind nicht bekannt.";
        return std::nullopt;
    }
    FittingFlow flow;
    flow.density = densityOf(in->medium);
    flow.velocity = values.velocity;
    flow.frictionFactor = values.lambda;
    flow.innerDiameter = in->diameter;
    flow.flowRate = in->flowRate;
    return flow;
}

SectionLoss sectionLossOf(const ResultValues& values) {
    return sectionLossOf(values, values.origin.fittings);
}

SectionLoss sectionLossOf(const ResultValues& values, const std::vector<FittingItem>& items) {
    SectionLoss section;
    section.pipeLoss = values.lossTotal;
    if (items.empty()) {
        section.fittings = FittingsLoss{};
        return section;
    }
    const auto flow = fittingFlowOf(values, section.problem);
    if (!flow) {
        return section;
    }
    try {
        section.fittings = fittingsLoss(items, *flow);
    } catch (const FittingError& error) {
        section.problem = error.what();
        return section;
    }
    if (!std::isfinite(section.pipeLoss + section.fittings->loss)) {
        section.fittings.reset();
        section.problem = "R·l + Z ist nicht darstellbar (Überlauf).";
    }
    return section;
}

RunLoss runLossOf(const std::vector<ResultValues>& sections) {
    RunLoss run;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const ResultValues& values = sections[i];
        SectionLoss section = sectionLossOf(values);
        run.pipeLoss += section.pipeLoss;
        if (const auto total = section.total()) {
            run.total += *total;
        } else {
            run.total += section.pipeLoss;
            run.withoutZ.push_back(i);
        }
        run.runningSums.push_back(run.total);
        if (const auto& in = values.origin.inputs) {
            if (std::find(run.media.begin(), run.media.end(), in->medium) == run.media.end()) {
                run.media.push_back(in->medium);
            }
        } else {
            run.unknownMedium = true;
        }
        run.sections.push_back(std::move(section));
    }
    return run;
}

double headOf(double pascal, Medium medium) {
    return pascal / (densityOf(medium) * standardGravity);
}

std::string zetaText(double zeta, const NumberFormat& format) {
    return formatFixed(zeta, zetaDecimals, format);
}

std::string pascalText(double pascal, const NumberFormat& format) {
    return formatFixed(pascal, pascalDecimals, format);
}

std::string pressureText(double pascal, const NumberFormat& format) {
    return pascalText(pascal, format) + " Pa (" +
           formatFixed(pascal / 100, millibarDecimals, format) + " mbar)";
}

std::string describeFittings(const ResultValues& values, const NumberFormat& format) {
    const auto& items = values.origin.fittings;
    if (items.empty()) {
        return {};
    }
    int count = 0;
    for (const FittingItem& item : items) {
        count += item.count;
    }
    std::string text = "Einzelwiderstände: " + std::to_string(count);
    const SectionLoss section = sectionLossOf(values);
    if (!section.fittings) {
        return text + "\nZ nicht bestimmbar: " + section.problem;
    }
    text += ", Σζ = " + zetaText(section.fittings->zetaSum, format);
    text += "\nZ = " + pressureText(section.fittings->loss, format);
    const double total = *section.total();
    text += "\nR·l + Z = " + pressureText(total, format);
    return text;
}

} // namespace kolmaris

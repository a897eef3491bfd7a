#include "results/check_text.h"

#include <gtest/gtest.h>

namespace kolmaris {
namespace {

TEST(CheckText, NamesTheLossItsDeviationAndHowItWasFound) {
    auto loss = [](double value, double deviation, FrictionLaw law) {
        PropertyCheck p;
        p.lossPerMetre = {value, deviation};
        p.law = law;
        return p;
    };
    const PropertyCheck turbulent = loss(178.4, 3.24, FrictionLaw::Colebrook);
    const PropertyCheck laminar = loss(0.512345, -0.04, FrictionLaw::Laminar);
    EXPECT_EQ(checkText({laminar, turbulent}, NumberFormat{','}),
              "Prüfrechnung: Δp/m 178,4 Pa/m (+3,2 %) mit IAPWS-Stoffwerten und Colebrook");
    EXPECT_EQ(checkText({laminar, std::nullopt, CheckGap::OutsideIapwsRange}, NumberFormat{'.'}),
              "Prüfrechnung: Δp/m 0.5123 Pa/m (0.0 %) mit den Stoffwerten des Programms und "
              "64/Re (laminar); IAPWS-Stoffwerte gibt es nur von 0.01 bis 99.6 °C");
    EXPECT_EQ(checkText({std::nullopt, std::nullopt, CheckGap::NoFlow}, NumberFormat{','}),
              "Prüfrechnung nicht möglich: Re ist null oder keine endliche Zahl");
}

} // namespace
} // namespace kolmaris

// What most engine tests share: a simulation over critter.dat in a fresh current directory, a
// fake main window, and a random source whose draws the test writes down in advance.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/simulation/simulation.h"
#include "support/fake_window.h"
#include "support/scripted_random.h"
#include "support/temp_dir.h"

namespace evo::test {

// The two draws that make FineRandom pick record k among 1 to n: the coarse draw aims at the
// middle of the record's share of [0, 1), far from its edges, and the fine draw adds nothing.
inline void ScriptPick(ScriptedRandom& random, std::int64_t k, std::int64_t n) {
  random.script.push_back(0.0f);
  random.script.push_back(static_cast<float>((static_cast<double>(k) - 0.5) / n));
}

// The draw that picks gene position g (1 to 10) of a record.
inline void ScriptGene(ScriptedRandom& random, int g) {
  random.script.push_back(static_cast<float>((g - 0.5) / 10));
}

// The four draws of one mutation: record k of n, gene g, and a good-or-bad draw that is good for
// any good probability from 0 up and bad for any below .95.
inline void ScriptMutation(ScriptedRandom& random, std::int64_t k, std::int64_t n, int g,
                           bool good) {
  ScriptPick(random, k, n);
  ScriptGene(random, g);
  random.script.push_back(good ? 0.0f : 0.95f);
}

// The three draws of one examination in the selection: record k among the n in use, then the
// survival draw x.
inline void ScriptExamination(ScriptedRandom& random, std::int64_t k, std::int64_t n, float x) {
  ScriptPick(random, k, n);
  random.script.push_back(x);
}

// A draw that kills every critter examined: no gene sum reaches 95.
inline constexpr float kDies = 0.99f;
// A draw that lets every critter without a '0' survive.
inline constexpr float kSurvives = 0.0f;

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() { simulation.Initialise(); }

  // Creates a population of size critters of the start value, with the other boxes as the window
  // shows them.
  void Create(const std::string& size, const std::string& startValue) {
    window.texts.populationSize = size;
    window.texts.startingGeneValue = startValue;
    simulation.CreatePopulation(window.texts, window.options);
  }

  // Writes the genomes to records 1, 2, ... of the open population file.
  void WriteRecords(std::initializer_list<std::string> genomes) {
    std::int64_t k = 1;
    for (const std::string& genome : genomes) simulation.File().WriteRecord(k++, genome.data());
  }

  std::string Record(std::int64_t k) const {
    std::string genome(kGenes, '?');
    simulation.File().ReadRecord(k, genome.data());
    return genome;
  }

  std::string FileText() const { return FileBytes("critter.dat"); }

  TempDirectory directory;
  FakeWindow window;
  ScriptedRandom random;
  Simulation simulation{window, random};
};

}  // namespace evo::test

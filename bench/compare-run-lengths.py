#!/usr/bin/env python3
"""Two-sample Kolmogorov-Smirnov test of the generations to the end of two copies of Repeated
Runs' data (the window's CSV), for every good mutation probability they both hold: whether two
builds, or two seeds, give runs of the same distribution.

Usage: bench/compare-run-lengths.py FIRST.csv SECOND.csv
The p-value is the asymptotic one with Stephens' correction for small samples; the runs' whole
numbers of generations tie, which makes it conservative.
"""
import csv
import math
import sys
from collections import defaultdict


def run_lengths(path):
    groups = defaultdict(list)
    with open(path, newline="") as data:
        for row in csv.DictReader(data):
            groups[row["good mutation probability"]].append(int(row["generations"]))
    return groups


def largest_gap(first, second):
    """The largest distance between the two samples' empirical distribution functions."""
    first, second = sorted(first), sorted(second)
    i = j = 0
    gap = 0.0
    while i < len(first) and j < len(second):
        value = min(first[i], second[j])
        while i < len(first) and first[i] == value:
            i += 1
        while j < len(second) and second[j] == value:
            j += 1
        gap = max(gap, abs(i / len(first) - j / len(second)))
    return gap


def kolmogorov_p(gap, n, m):
    effective = math.sqrt(n * m / (n + m))
    x = (effective + 0.12 + 0.11 / effective) * gap
    if x < 0.2:
        return 1.0
    return min(1.0, 2 * sum((-1) ** (k - 1) * math.exp(-2 * k * k * x * x) for k in range(1, 101)))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    first, second = run_lengths(sys.argv[1]), run_lengths(sys.argv[2])
    for value in sorted(set(first) & set(second), key=float):
        a, b = first[value], second[value]
        gap = largest_gap(a, b)
        print(f"good mutation probability {value}: {len(a)} and {len(b)} runs, "
              f"D = {gap:.4f}, p = {kolmogorov_p(gap, len(a), len(b)):.3f}")


if __name__ == "__main__":
    main()

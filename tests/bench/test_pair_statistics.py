#!/usr/bin/env python3
"""The bench's statistics: the median of the pairs' ratios and its bootstrap
interval, on pairs whose answer is known."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench"))
import pair_statistics  # noqa: E402


def spread(count, low, high):
    """Pairs whose ratios lie evenly from low to high, minimal time 100."""
    return [(100 * (low + (high - low) * i / (count - 1)), 100) for i in range(count)]


class MedianRatioTest(unittest.TestCase):
    # pairs, median, the interval's low end between, its high end between
    CASES = [
        ("one ratio throughout", [(110, 100)] * 9, 1.10, (1.10, 1.10), (1.10, 1.10)),
        ("odd count: the middle ratio", [(150, 100), (100, 100), (200, 100)], 1.50, (1.00, 1.50), (1.50, 2.00)),
        ("even count: between the middle two", [(100, 100), (120, 100), (140, 100), (900, 100)], 1.30,
         (1.00, 1.30), (1.30, 9.00)),
        ("ours over minimal, not the other way", [(300, 100), (200, 100), (400, 100)], 3.00, (2.00, 3.00),
         (3.00, 4.00)),
        ("each pair's own ratio, not a ratio of sums", [(200, 100), (1000, 1000), (60, 20)], 2.00, (1.00, 2.00),
         (2.00, 3.00)),
        # A busy moment slowed a few starts of one program threefold.
        ("a few disturbed pairs move little", [(105, 100)] * 45 + [(315, 100)] * 5 + [(100, 300)] * 5, 1.05,
         (1.05, 1.05), (1.05, 1.05)),
        # The median of 101 ratios spread over 1 to 2 has a standard error of
        # 0.05: a 95 % interval of 1.5 -+ 1.96 * 0.05 (a 90 % one would end
        # at 1.42 and 1.58, a 99 % one at 1.37 and 1.63).
        ("interval 1.96 standard errors each side", spread(101, 1.0, 2.0), 1.50, (1.39, 1.41), (1.59, 1.61)),
    ]

    def test_cases(self):
        for name, pairs, median, low_range, high_range in self.CASES:
            with self.subTest(name):
                got, low, high = pair_statistics.median_ratio(pairs)
                self.assertAlmostEqual(got, median, places=9)
                self.assertTrue(low_range[0] - 1e-9 <= low <= low_range[1] + 1e-9, f"low end {low}")
                self.assertTrue(high_range[0] - 1e-9 <= high <= high_range[1] + 1e-9, f"high end {high}")
                self.assertLessEqual(low, got)
                self.assertGreaterEqual(high, got)

    def test_same_pairs_same_interval(self):
        # Ratios at irregular steps, so that resamples drawn otherwise would
        # end the interval elsewhere.
        pairs = [(100 + (i * i * 37) % 101, 100) for i in range(100)]
        first = pair_statistics.median_ratio(pairs)
        for _ in range(5):
            self.assertEqual(pair_statistics.median_ratio(list(pairs)), first)

    def test_verdict(self):
        for low, high, expected in [(1.00, 1.10, "ok"), (1.05, 1.12, "not sure"), (1.10, 1.20, "not sure"),
                                    (1.11, 1.20, "MISSED")]:
            with self.subTest(interval=(low, high)):
                self.assertEqual(pair_statistics.verdict(low, high, 1.10), expected)


if __name__ == "__main__":
    unittest.main()

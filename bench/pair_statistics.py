"""The bench's figure from interleaved pairs of timings: the median of the
pairs' ratios, with a bootstrap percentile interval around it.

Each pair's two starts were made moments apart, so whatever else loads the
machine falls on both alike and cancels in their ratio; a busy moment that
slows only one of them is one ratio among many, which the median shrugs off.
Keeping every pair (instead of only the quiet ones) lets a run of a few
minutes give an interval narrow enough to judge a goal by."""
import random
import statistics

RESAMPLES = 2000
# A fixed random start: two runs over the same pairs print the same interval.
RANDOM_START = 20261209


def ratios(pairs):
    return [a / b for a, b in pairs]


def median_ratio(pairs, level=0.95, resamples=RESAMPLES):
    """(median, low, high) of the ratios a / b of the pairs (a, b)."""
    values = ratios(pairs)
    if not values:
        raise ValueError("no pairs")
    chooser = random.Random(RANDOM_START)
    medians = sorted(statistics.median(chooser.choices(values, k=len(values))) for _ in range(resamples))
    tail = (1.0 - level) / 2
    low = medians[int(tail * resamples)]
    high = medians[min(resamples - 1, int((1.0 - tail) * resamples))]
    return statistics.median(values), low, high


def verdict(low, high, goal):
    """ok when the whole interval meets the goal, MISSED when none of it does."""
    if high <= goal:
        return "ok"
    if low > goal:
        return "MISSED"
    return "not sure"

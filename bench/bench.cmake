# Benchmark programs are added here.

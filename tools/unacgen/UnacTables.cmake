# Placeholder until the accent-folding generator lands.
set(CV_UNAC_TABLES_SOURCE "")

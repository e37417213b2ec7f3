# marlix xlate and marlix cadence.
expect xlate-cel-clock 0 "0.96" "" -- --project-rate 24 --output-rate 25 xlate --from TOVCel --to TOVClock 1
expect xlate-film-audio 0 $'0.96\n-0.96' "" -- --camera-speed 25 xlate --from Film --to Audio 1 -1
expect xlate-pulldown 0 $'0\n0.03333333333333333\n0.08333333333333333' "" -- xlate --from Film --to 30i --transfer pulldown 0 0.041666666666666664 0.08333333333333333
expect xlate-not-finite 1 $'invalid\ninvalid\ninvalid' "" -- --project-rate 24 xlate --from Film --to 30i --transfer pulldown nan inf 1e300
expect_err xlate-not-finite-message "position nan outside the translation's range" --diagnostics --project-rate 24 xlate --from Film --to 30i nan
expect xlate-refused 1 $'invalid\ninvalid' "" -- --project-rate 30 xlate --from TOVCel --to 25p 1 -1
expect_err xlate-message "Invalid source shot standard for project - cookie<invalid>" --diagnostics --project-rate 30 xlate --from TOVCel --to 25p 1
expect xlate-bad-medium 2 "" "" -- xlate --from Tape --to Film 1
expect cadence-2-3 0 "AA BB BC CD DD" "" -- cadence 24:30i
expect cadence-bad 2 "" "" -- cadence 24:29i
# A refused translation in users' words; the library's own text only when asked.
expect_err xlate-refusal-words "^marlix: '1e99': no translation from Film to Audio: the position is no valid position$" xlate --from film --to audio 1e99
expect_err xlate-diagnostics "^mPosn_Xlate\(\):- invalid MediumPosn" --diagnostics xlate --from film --to audio 1e99
expect_err xlate-video-project "no translation from Film to 25p: this project does not take film" --project-rate 30 xlate --from film --to 25p 1

;;; Terrain survey sample: builds a coloured terrain surface from a survey point file.
;;;
;;; Run it in the folder that holds terrain.csv, in a drawing that has the layers TERRAIN, CONTOUR
;;; and CONTOUR-MAJOR:
;;;   kafcad --layer TERRAIN --layer CONTOUR --layer CONTOUR-MAJOR --save terrain.dxf \
;;;          --png terrain.png terrain.lsp
;;; (run-sample.sh does all of this in out/sample/).

;; The survey points are in projected coordinates (eastings around 350000, northings around
;; 5800000). Shifting them to a local origin keeps the drawing's numbers small, which suits the
;; triangulator's floating-point tests and CAD work near the origin; z stays as measured.
(setq origin-east 350000.0
      origin-north 5800000.0)

;; Triangulate the file into subdivision meshes on layer TERRAIN, at most 40000 vertices each.
;; The result is the list of the new meshes' handles.
(setq meshes
      (kaf-dct-subdmesh-withloadcsv
        '("terrain.csv") ";" "TERRAIN"
        (- origin-east) (- origin-north) 1.0
        40000))

(princ "\nMeshes made: ")
(princ (length meshes))
(princ (strcat " (handles " (car meshes) " ... " (nth (- (length meshes) 1) meshes) ")\n"))

;; The surface's counts, elevation range and areas, printed in one line.
(setq stats (kaf-surfaceStatistics meshes))
(princ "\n")

;; Colour the meshes by elevation over the surface's real range: dark green in the valley to
;; light brown on the heights.
(kaf-changeMeshColor meshes (nth 2 stats) (nth 3 stats) '(40 95 55) '(215 195 165))
(princ "\nColoured by elevation, green at the lowest point to brown at the highest.\n")

;; Contour lines every 5 m on layer CONTOUR; every fifth level (every 25 m) is a major contour
;; on layer CONTOUR-MAJOR.
(setq contours (kaf-contours meshes 5.0 0.0 "CONTOUR" 5 "CONTOUR-MAJOR"))

;; Cut and fill against a level platform at 450 m: the earth above it (cut) and the space
;; below it (fill), printed in one line.
(setq datum (kaf-volumeToDatum meshes 450.0))

;;; ---- Cut/fill map against a design pad ----
;; A level building platform of 300 m x 300 m in the middle of the site at 471 m, about the
;; mean ground level over it, so that cut and fill about balance; written as a polyface mesh on
;; the current layer (nil), apart from the terrain. Then the map of its earthworks, on the
;; current layer too: terrain minus pad over the pad, red where the ground is to be dug away
;; (cut), blue where it is to be filled, white where the platform meets the ground. The map's
;; volumes to 0 are the earthworks' cut and fill, as kaf-volume gives them.
(setq pad-level 471.0)
(setq pad
      (kaf-dct-pfacemesh
        (list (list 600.0 600.0 pad-level) (list 900.0 600.0 pad-level)
              (list 900.0 900.0 pad-level) (list 600.0 900.0 pad-level))
        nil))
(setq cutfill-map (kaf-isopach meshes pad nil))
(setq earthworks (kaf-volume meshes pad))
(setq map-volume (kaf-volumeToDatum cutfill-map 0.0))
(princ)

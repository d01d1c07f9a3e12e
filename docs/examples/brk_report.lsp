;; A surface from the breaklines on the BRK-* layers inside the closed outline on layer
;; BOUNDARY, and a report of its meshes in surface_report.txt.

;; The entity names of a selection set, in order.
(defun ss->list (ss / i names)
  (setq i 0)
  (repeat (sslength ss)
    (setq names (cons (ssname ss i) names)
          i (1+ i)))
  (reverse names))

(defun handle-of (e) (cdr (assoc 5 (entget e))))

;; The vertices of a MESH (its 10 groups) and its faces (the 90 groups: a count, then indices).
(defun mesh-vertices (data)
  (mapcar 'cdr (vl-remove-if-not '(lambda (g) (= (car g) 10)) data)))

(defun mesh-faces (data / numbers faces face)
  (setq numbers (mapcar 'cdr (vl-remove-if-not '(lambda (g) (= (car g) 90)) data)))
  (while numbers
    (setq face nil)
    (repeat (car numbers)
      (setq numbers (cdr numbers)
            face (cons (car numbers) face)))
    (setq numbers (cdr numbers)
          faces (cons (reverse face) faces)))
  faces)

(defun plan-area (a b c)
  (/ (abs (- (* (- (car b) (car a)) (- (cadr c) (cadr a)))
             (* (- (car c) (car a)) (- (cadr b) (cadr a)))))
     2.0))

(defun mesh-area (data / vertices)
  (setq vertices (mesh-vertices data))
  (apply '+ (mapcar '(lambda (f) (plan-area (nth (car f) vertices)
                                            (nth (cadr f) vertices)
                                            (nth (caddr f) vertices)))
                    (mesh-faces data))))

(setq breaklines (ssget "X" '((0 . "POLYLINE") (8 . "BRK-*") (-4 . "&") (70 . 8)))
      outline (ssget "X" '((0 . "LWPOLYLINE") (8 . "BOUNDARY") (-4 . "&") (70 . 1))))
(setq meshes
  (kaf-cdt-subdmesh '((0 0 10) (60 0 11) (60 30 12) (0 30 11) (30 15 10.5))
                    (mapcar '(lambda (e) (handle-of e)) (ss->list breaklines))
                    (handle-of (ssname outline 0))
                    nil 0 "TIN" 8))

(setq surface (ssget "X" '((0 . "MESH") (8 . "TIN")))
      report (open "surface_report.txt" "w")
      i 0
      total 0.0)
(write-line (strcat "Breaklines: " (itoa (sslength breaklines))
                    ", meshes: " (itoa (length meshes)))
            report)
(repeat (sslength surface)
  (setq data (entget (ssname surface i))
        area (mesh-area data)
        total (+ total area)
        i (1+ i))
  (write-line (strcat "Mesh " (cdr (assoc 5 data)) ": "
                      (itoa (cdr (assoc 92 data))) " vertices, plan area "
                      (rtos area 2 2) " m2")
              report))
(write-line (strcat "Total plan area: " (rtos total 2 2) " m2") report)
(close report)
(princ)
